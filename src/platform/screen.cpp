#include "screen.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <unordered_map>

namespace terravale {

namespace {
std::unordered_map<std::type_index, Screen *> &registry()
{
    static std::unordered_map<std::type_index, Screen *> forms;
    return forms;
}

void dispose(Screen *screen)
{
    for (QTimer *timer : screen->findChildren<QTimer *>())
        timer->stop();
    screen->blockSignals(true);
    screen->hide();
    screen->deleteLater();
}
} // namespace

Screen::Screen(const QString &formName) : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(formName);
    setWindowRole(formName);
    setMouseTracking(true);
    setAttribute(Qt::WA_QuitOnClose, false);
}

Screen::~Screen()
{
    auto &forms = registry();
    for (auto it = forms.begin(); it != forms.end(); ++it) {
        if (it->second == this) {
            forms.erase(it);
            break;
        }
    }
}

void Screen::setBackColor(const QColor &color)
{
    m_back = color;
    update();
}

void Screen::showInFront()
{
    show();
    raise();
    activateWindow();
}

void Screen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_back);
}

void Screen::mouseMoveEvent(QMouseEvent *event)
{
    formMouseMove(event->buttons(), event->position() * 15.0);
}

namespace detail {

Screen *findForm(std::type_index type)
{
    const auto it = registry().find(type);
    return it == registry().end() ? nullptr : it->second;
}

void registerForm(std::type_index type, Screen *screen)
{
    registry()[type] = screen;
}

void unloadForm(std::type_index type)
{
    const auto it = registry().find(type);
    if (it == registry().end())
        return;
    Screen *screen = it->second;
    registry().erase(it);
    dispose(screen);
}

} // namespace detail

void unloadAllForms()
{
    auto forms = registry();
    registry().clear();
    for (auto &[type, screen] : forms)
        delete screen;
}

int loadedFormCount()
{
    return int(registry().size());
}

} // namespace terravale
