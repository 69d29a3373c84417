#pragma once
#include "platform/picture.h"

namespace terravale {

// Prints a page's print version on the default printer, its top-left corner at 1000, 1000 twips
// and at its own size. On failure shows "There was a problem printing to your printer." and
// returns false; a successful print shows nothing.
bool printPage(const PictureHandle &printVersion);

} // namespace terravale
