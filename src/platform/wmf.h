#pragma once
#include "picture.h"

#include <QByteArray>
#include <QSize>
#include <functional>

class QPainter;

namespace terravale {

// Paints with QPainter and returns the drawing as a placeable Windows metafile.
// The painter works in metafile units: sizeUnits is the page's size in them, and the device
// reports unitsPerInch as its resolution, so fonts given in points come out at their size.
QByteArray paintToWmf(const QSize &sizeUnits, const std::function<void(QPainter &)> &paint,
                      int unitsPerInch = 1440);

// A placeable metafile read into memory; painting plays its records onto the painter.
// Returns null when the data is not a placeable metafile. A damaged record list stops playback
// where it is damaged; what came before it is still drawn.
PictureHandle readWmf(const QByteArray &data);

} // namespace terravale
