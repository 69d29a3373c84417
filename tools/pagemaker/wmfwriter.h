#pragma once
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

} // namespace terravale
