#include "pageprint.h"

#include "platform/messagebox.h"

namespace terravale {

bool printPage(const PictureHandle &)
{
    // Page printing comes with the printing layer; until then no page is printed.
    msgBox(QStringLiteral("There was a problem printing to your printer."));
    return false;
}

} // namespace terravale
