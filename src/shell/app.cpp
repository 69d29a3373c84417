#include "app.h"

#include "platform/fonts.h"

#include <QApplication>
#include <QIcon>

namespace terravale {

void startProgram(QApplication &app)
{
    app.setApplicationName(QStringLiteral("terravale"));
    app.setQuitOnLastWindowClosed(false);
    app.setDesktopFileName(QStringLiteral("terravale"));
    app.setWindowIcon(QIcon(QStringLiteral(":/terravale.svg")));
    registerFonts();
}

} // namespace terravale
