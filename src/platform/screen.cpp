#include "screen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMoveEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <QWindowStateChangeEvent>
#include <QTimer>
#include <algorithm>
#include <unordered_map>
#include <vector>

namespace terravale {

namespace {
std::unordered_map<detail::FormKey, Screen *> &registry()
{
    static std::unordered_map<detail::FormKey, Screen *> forms;
    return forms;
}

// Screens in the order they last came to the front, the front one last.
std::vector<Screen *> &frontOrder()
{
    static std::vector<Screen *> order;
    return order;
}

// Screens in the order the program last showed them in front, the latest last. Unlike the order
// above, a click the window manager answers by raising a window does not change it.
std::vector<Screen *> &shownOrder()
{
    static std::vector<Screen *> order;
    return order;
}

void forgetFront(Screen *screen)
{
    for (auto *order : {&frontOrder(), &shownOrder()})
        order->erase(std::remove(order->begin(), order->end(), screen), order->end());
}

// Moves the screen to the end of the order (the latest).
void noteLast(std::vector<Screen *> &order, Screen *screen)
{
    order.erase(std::remove(order.begin(), order.end(), screen), order.end());
    order.push_back(screen);
}

bool isRegistered(const Screen *screen)
{
    return std::any_of(registry().begin(), registry().end(), [screen](const auto &entry) { return entry.second == screen; });
}

// Whether a loaded screen other than `screen` is on show (shown and not minimised).
bool anotherScreenShown(const Screen *screen)
{
    return std::any_of(registry().begin(), registry().end(), [screen](const auto &entry) {
        const Screen *other = entry.second;
        return other != screen && !other->isBackdrop() && other->isVisible() && !other->isMinimized();
    });
}

// When a screen leaves and every screen still loaded is minimised, the pupil would face the
// backdrop alone: the one shown in front most recently comes back.
void keepAScreenOnShow()
{
    QTimer::singleShot(0, qApp, [] {
        if (anotherScreenShown(nullptr))
            return;
        for (auto *order : {&shownOrder(), &frontOrder()}) {
            for (auto it = order->rbegin(); it != order->rend(); ++it) {
                Screen *screen = *it;
                if (isRegistered(screen) && screen->isMinimized()) {
                    screen->showInFront();
                    return;
                }
            }
        }
    });
}

void dispose(Screen *screen)
{
    forgetFront(screen);
    for (QTimer *timer : screen->findChildren<QTimer *>())
        timer->stop();
    screen->blockSignals(true);
    screen->hide();
    screen->deleteLater();
    keepAScreenOnShow();
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
    forgetFront(this);
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
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    if (!m_backdrop) {
        noteLast(frontOrder(), this);
        noteLast(shownOrder(), this);
    }
}

bool Screen::isCovered() const
{
    const Screen *top = topShownScreen();
    return top && top != this;
}

QPoint Screen::centredPosition() const
{
    const QScreen *display = QGuiApplication::primaryScreen();
    if (!display)
        return pos();
    const QRect area = display->geometry();
    const float top = area.height() / 2.0f - height() / 2.0f;
    const float left = area.width() / 2.0f - width() / 2.0f;
    return {area.x() + int(left), area.y() + int(top)};
}

void Screen::centreOnDisplay()
{
    // A shown window is moved through its platform window: the widget may believe it is already
    // there when the window system has put it elsewhere, and would then not move.
    if (isVisible() && windowHandle())
        windowHandle()->setFramePosition(centredPosition());
    else
        move(centredPosition());
}

QPoint Screen::framePosition() const
{
    // The window's own idea of its frame, asked afresh (the widget's is cached).
    return windowHandle() ? windowHandle()->framePosition() : pos();
}

void Screen::returnToPlaceSoon()
{
    if (m_returns >= 3)
        return;   // the window system keeps it elsewhere: leave it there
    const int move = ++m_moves;
    QTimer::singleShot(250, this, [this, move] {
        if (move != m_moves || !isVisible() || isMinimized() || framePosition() == centredPosition())
            return;
        ++m_returns;
        centreOnDisplay();
    });
}

void Screen::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (m_backdrop || !event->spontaneous() || !isVisible() || isMinimized())
        return;
    if (framePosition() == centredPosition()) {
        m_returns = 0;
        return;
    }
    // Dragged by its title bar: once let go, the screen goes back to its place over the others.
    returnToPlaceSoon();
}

void Screen::closeEvent(QCloseEvent *event)
{
    // A screen is never merely hidden: it leaves as its own Exit leaves, or it stays.
    event->ignore();
    if (m_exitAction && isRegistered(this))
        m_exitAction();
}

void Screen::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (m_backdrop)
        return;
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isRegistered(this)) {
        noteLast(frontOrder(), this);
        // Raised by the window manager (a click, Alt+Tab) over the screen the program has in
        // front: that one comes back on top, as the backdrop sends the pupil back to it.
        if (Screen *top = topShownScreen(); top && top != this)
            QTimer::singleShot(0, top, [top] {
                if (isRegistered(top) && top->isVisible() && !top->isMinimized() && !top->isActiveWindow()
                    && topShownScreen() == top)
                    top->showInFront();
            });
    }
    if (event->type() == QEvent::WindowStateChange && !isMinimized()
        && (static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized)) {
        // Brought back from the task bar or by its button: make sure it is where it was.
        m_returns = 0;
        returnToPlaceSoon();
    }
    if (event->type() == QEvent::WindowStateChange && isMinimized()
        && (!anotherScreenShown(this) || QApplication::activeModalWidget())) {
        // The last screen on show stays: minimised, it would leave the pupil the backdrop alone.
        // So does a screen while a message is open: the message would go with it, out of reach,
        // and nothing else answers the pointer until it is.
        QTimer::singleShot(0, this, [this] {
            if (!isMinimized() || !isRegistered(this))
                return;
            QWidget *message = QApplication::activeModalWidget();
            if (!anotherScreenShown(this) || message)
                showInFront();
            if (message) {
                message->showNormal();
                message->raise();
                message->activateWindow();
            }
        });
    }
    if (event->type() == QEvent::WindowStateChange
        && (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        // Screens keep their design size and their place: a maximise from the title bar is undone.
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
            if (minimumSize() == maximumSize())
                resize(minimumSize());
            centreOnDisplay();
            returnToPlaceSoon();
        });
    }
}

void Screen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_back);
}

void Screen::mouseMoveEvent(QMouseEvent *event)
{
    // Only the screen's own background counts: a move an enabled control let pass (an option
    // button, a check box) is still over that control. Disabled controls are as if absent.
    if (const QWidget *under = childAt(event->position().toPoint()); under && under->isEnabled())
        return;
    formMouseMove(event->buttons(), event->position() * 15.0);
}

namespace detail {

FormKey namedFormKey(const QString &formName)
{
    return "form:" + formName.toStdString();
}

Screen *findForm(const FormKey &key)
{
    const auto it = registry().find(key);
    return it == registry().end() ? nullptr : it->second;
}

void registerForm(const FormKey &key, Screen *screen)
{
    registry()[key] = screen;
}

void unloadForm(const FormKey &key)
{
    const auto it = registry().find(key);
    if (it == registry().end())
        return;
    Screen *screen = it->second;
    registry().erase(it);
    dispose(screen);
}

} // namespace detail

Screen &namedForm(const QString &formName, const std::function<Screen *()> &make)
{
    const detail::FormKey key = detail::namedFormKey(formName);
    if (Screen *existing = detail::findForm(key))
        return *existing;
    Screen *screen = make();
    detail::registerForm(key, screen);
    screen->formLoad();
    return *screen;
}

Screen *loadedNamedForm(const QString &formName)
{
    return detail::findForm(detail::namedFormKey(formName));
}

void unloadNamedForm(const QString &formName)
{
    detail::unloadForm(detail::namedFormKey(formName));
}

void unloadScreen(Screen &screen)
{
    for (const auto &[key, loaded] : registry()) {
        if (loaded == &screen) {
            const detail::FormKey found = key;   // the entry goes with the unload
            detail::unloadForm(found);
            return;
        }
    }
}

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

std::vector<Screen *> loadedForms()
{
    std::vector<Screen *> forms;
    for (const auto &[type, screen] : registry())
        forms.push_back(screen);
    return forms;
}

Screen *topShownScreen()
{
    // Which window is active says nothing here: the window manager activates the window a click
    // lands on, covered or not.
    const auto &order = shownOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Screen *shown = *it;
        if (isRegistered(shown) && shown->isVisible() && !shown->isMinimized())
            return shown;
    }
    return nullptr;
}

Screen *frontScreen()
{
    const auto &order = frontOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (isRegistered(*it) && (*it)->isVisible())
            return *it;
    return nullptr;
}

} // namespace terravale
