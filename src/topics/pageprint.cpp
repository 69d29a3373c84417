#include "pageprint.h"

#include "platform/messagebox.h"
#include "platform/printer.h"

namespace terravale {

bool printPage(const PictureHandle &printVersion)
{
    Printer &p = printer();
    try {
        if (!printVersion)
            throw PrintError("no page to print");
        p.print(QString());
        p.paintPicture(printVersion, QPointF(1000, 1000));
        p.endDoc();
    } catch (const std::exception &) {
        p.killDoc();
        msgBox(QStringLiteral("There was a problem printing to your printer."));
        return false;
    }
    return true;
}

} // namespace terravale
