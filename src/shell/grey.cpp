#include "grey.h"

#include "platform/sound.h"

#include <QGuiApplication>
#include <QScreen>

namespace terravale {

Grey::Grey() : Screen(QStringLiteral("Grey"))
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::Tool);
    setWindowTitle(QStringLiteral("Terravale"));
}

void Grey::formLoad()
{
    setBackColor(QColor(48, 133, 214));
    // The click answers nearly every button: have it ready before the first one is pressed.
    soundPlayer().preload(QStringLiteral("wav\\click.wav"));
}

void Grey::showBackdrop()
{
    if (const QScreen *display = QGuiApplication::primaryScreen())
        setGeometry(display->geometry());
    showMaximized();
    raise();
}

} // namespace terravale
