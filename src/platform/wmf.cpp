#include "wmf.h"

namespace terravale {

// The metafile reader and writer come next; until then nothing is read or written.
QByteArray paintToWmf(const QSize &, const std::function<void(QPainter &)> &, int)
{
    return {};
}

PictureHandle readWmf(const QByteArray &)
{
    return nullptr;
}

} // namespace terravale
