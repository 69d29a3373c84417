#pragma once
#include "platform/picturedata.h"

#include <QByteArray>

namespace terravale {

// A placeable metafile read into memory; painting plays its records onto the painter.
// Returns null when the data is not a placeable metafile. A damaged record list stops playback
// where it is damaged; what came before it is still drawn.
PictureHandle readWmf(const QByteArray &data);

} // namespace terravale
