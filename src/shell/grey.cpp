#include "grey.h"

#include "platform/sound.h"
#include "sound.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace terravale {

Grey::Grey() : Screen(QStringLiteral("Grey"))
{
    // Kept below the screens by the window manager, and never given the focus by a click.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint | Qt::WindowDoesNotAcceptFocus);
    setWindowTitle(QStringLiteral("Terravale"));
    markAsBackdrop();
}

void Grey::formLoad()
{
    setBackColor(QColor(48, 133, 214));
    // The click answers nearly every button: have it ready before the first one is pressed.
    soundPlayer().preload(kClickClip);
}

void Grey::showBackdrop()
{
    if (const QScreen *display = QGuiApplication::primaryScreen())
        setGeometry(display->geometry());
    showMaximized();
    lower();
}

void Grey::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (QWidget *message = QApplication::activeModalWidget()) {
        message->raise();
        message->activateWindow();
    } else if (Screen *front = frontScreen()) {
        front->showInFront();
    }
}

} // namespace terravale
