#pragma once
// Metafile records read into plain commands. Every length in a record is checked against the
// record and the record against the file before anything is taken from it.
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace terravale::wmf {

// A rectangle as the records give it: edges, not a size (so left may exceed right).
struct Edges {
    int left = 0, top = 0, right = 0, bottom = 0;
    QRectF rect() const { return QRectF(QPointF(left, top), QPointF(right, bottom)).normalized(); }
};

struct PenSpec {
    uint16_t style = 0;          // PS_* with end-cap and join bits
    int width = 0;               // logical units; 0 is one device pixel
    QColor color = Qt::black;
    bool operator==(const PenSpec &) const = default;
};

struct BrushSpec {
    uint16_t style = 0;          // BS_SOLID, BS_NULL, BS_HATCHED, BS_PATTERN, BS_DIBPATTERNPT
    QColor color = Qt::white;
    uint16_t hatch = 0;
    QImage pattern;              // pattern brushes
};

struct FontSpec {
    int height = 0;              // negative: character height; positive: cell height; 0: default
    int width = 0;
    int escapement = 0;          // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    QString face;
    bool operator==(const FontSpec &) const = default;
};

namespace cmd {
struct CreatePen { PenSpec pen; };
struct CreateBrush { BrushSpec brush; };
struct CreateFont { FontSpec font; };
struct CreateOther {};                              // palette, region, bitmap: takes a slot only
struct SelectObject { int index; };
struct DeleteObject { int index; };
struct SaveDc {};
struct RestoreDc { int which; };                    // negative: relative; positive: absolute
enum class Mapping { WindowOrg, WindowExt, ViewportOrg, ViewportExt, OffsetWindowOrg, OffsetViewportOrg };
struct SetMapping { Mapping what; QPoint value; };
struct ScaleExt { bool viewport; int xNum, xDenom, yNum, yDenom; };
enum class Attr { BkMode, TextAlign, PolyFillMode, MapMode };
struct SetAttr { Attr what; int value; };
struct SetTextColor { QColor color; };
struct SetBkColor { QColor color; };
struct MoveTo { QPoint p; };
struct LineTo { QPoint p; };
struct Rectangle { Edges r; };
struct RoundRect { Edges r; int width, height; };
struct Ellipse { Edges r; };
enum class ArcKind { Arc, Pie, Chord };
struct Arc { ArcKind kind; Edges r; QPoint start, end; };
struct Polygon { QPolygon points; };
struct Polyline { QPolygon points; };
struct PolyPolygon { std::vector<QPolygon> polygons; };
struct Text {
    QPoint at;
    QString text;
    std::vector<int> dx;     // advance of each character, when the record gives them
    uint16_t options = 0;    // ETO_OPAQUE, ETO_CLIPPED
    Edges clip;
};
struct Bitmap {
    Edges dst;               // destination (right < left mirrors)
    QRect src;               // in the image, top-down
    uint32_t rop = 0;
    QImage image;            // null: a pattern blit with the brush
};
struct PatBlt { Edges r; uint32_t rop; };
struct SetPixel { QPoint p; QColor color; };
struct ClipRect { bool exclude; Edges r; };
} // namespace cmd

using Command = std::variant<cmd::CreatePen, cmd::CreateBrush, cmd::CreateFont, cmd::CreateOther, cmd::SelectObject,
                             cmd::DeleteObject, cmd::SaveDc, cmd::RestoreDc, cmd::SetMapping, cmd::ScaleExt, cmd::SetAttr,
                             cmd::SetTextColor, cmd::SetBkColor, cmd::MoveTo, cmd::LineTo, cmd::Rectangle, cmd::RoundRect,
                             cmd::Ellipse, cmd::Arc, cmd::Polygon, cmd::Polyline, cmd::PolyPolygon, cmd::Text,
                             cmd::Bitmap, cmd::PatBlt, cmd::SetPixel, cmd::ClipRect>;

struct Program {
    QRect bounds;                 // placeable header bounds in logical units
    int unitsPerInch = 1440;
    int objects = 0;              // object table size the header announces
    std::vector<Command> commands;
    bool damaged = false;         // reading stopped at a damaged record
    int skipped = 0;              // records read but not understood
};

// Reads a placeable metafile; nullopt when there is no valid placeable header.
std::optional<Program> parseProgram(const QByteArray &data);

// Decodes a packed device-independent bitmap lying in [dib, limit); null when it is damaged,
// too large, or of an unsupported kind.
QImage decodeDib(const char *dib, const char *limit, uint16_t colorUsage);

} // namespace terravale::wmf
