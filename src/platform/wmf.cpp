#include "wmf.h"

namespace terravale {

// The metafile reader comes next; until then nothing is read.
PictureHandle readWmf(const QByteArray &)
{
    return nullptr;
}

} // namespace terravale
