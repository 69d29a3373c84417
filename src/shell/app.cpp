#include "app.h"

#include "platform/fonts.h"

#include <QApplication>

namespace terravale {

void startProgram(QApplication &app)
{
    app.setApplicationName(QStringLiteral("terravale"));
    app.setQuitOnLastWindowClosed(false);
    registerFonts();
}

} // namespace terravale
