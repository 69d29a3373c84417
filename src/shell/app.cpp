#include "app.h"

#include "platform/fonts.h"

#include <QApplication>
#include <QIcon>

// The icon lives in the core library's resources, which a static library must initialise by hand.
static void initResources()
{
    Q_INIT_RESOURCE(terravale);
}

namespace terravale {

void startProgram(QApplication &app)
{
    initResources();
    app.setApplicationName(QStringLiteral("terravale"));
    app.setQuitOnLastWindowClosed(false);
    app.setDesktopFileName(QStringLiteral("terravale"));
    app.setWindowIcon(QIcon(QStringLiteral(":/terravale.svg")));
    registerFonts();
}

} // namespace terravale
