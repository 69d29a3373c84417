#include "frame.h"

#include "platform/picture.h"
#include "platform/screen.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

namespace terravale {

void centreOnDisplay(Screen &screen)
{
    const QScreen *display = QGuiApplication::primaryScreen();
    if (!display)
        return;
    const QRect area = display->geometry();
    const float top = area.height() / 2.0f - screen.height() / 2.0f;
    const float left = area.width() / 2.0f - screen.width() / 2.0f;
    screen.move(area.x() + int(left), area.y() + int(top));
}

void setupform(Screen &screen)
{
    screen.setBackColor(kScreenBlue);
    screen.setWindowTitle(kProgramTitle);
    if (auto *picture = screen.findChild<Picture *>(QStringLiteral("Picture1"), Qt::FindDirectChildrenOnly))
        picture->setBackColor(kPictureBlue);
    screen.setFixedSize(800, 600);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    centreOnDisplay(screen);
    QApplication::restoreOverrideCursor();
}

} // namespace terravale
