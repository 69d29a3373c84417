#include "pageprint.h"

#include "shell/printing.h"

namespace terravale {

bool printPage(const PictureHandle &printVersion)
{
    return printOrReport([&printVersion](Printer &p) {
        if (!printVersion)
            throw PrintError("no page to print");
        p.print(QString());
        p.paintPicture(printVersion, QPointF(1000, 1000));
        p.endDoc();
    });
}

} // namespace terravale
