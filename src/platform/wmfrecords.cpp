#include "wmfrecords.h"

#include "textcodec.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <uwmf.h>

#include <algorithm>
#include <cstring>

namespace terravale::wmf {
namespace {

// libuemf's getters read a record's fixed fields without looking at its length, so the data
// is followed by this many zero bytes: a short record reads zeros, never foreign memory.
constexpr int kPadding = 256;
constexpr qint64 kMaxBitmapPixels = 16 * 1024 * 1024;
constexpr int kMaxBitmapSide = 16384;

int16_t s16(const char *p) { return qFromLittleEndian<int16_t>(p); }
uint16_t u16(const char *p) { return qFromLittleEndian<uint16_t>(p); }
uint32_t u32(const char *p) { return qFromLittleEndian<uint32_t>(p); }
int32_t s32(const char *p) { return qFromLittleEndian<int32_t>(p); }

QColor color(const U_COLORREF &c) { return QColor(c.Red, c.Green, c.Blue); }
Edges edges(const U_RECT16 &r) { return Edges{r.left, r.top, r.right, r.bottom}; }
QPoint point(const U_POINT16 &p) { return QPoint(p.x, p.y); }

QPolygon points(const char *data, int count)
{
    QPolygon poly(count);
    for (int i = 0; i < count; ++i)
        poly[i] = QPoint(s16(data + 4 * i), s16(data + 4 * i + 2));
    return poly;
}

bool fits(const char *from, qint64 bytes, const char *limit)
{
    return bytes >= 0 && from <= limit && limit - from >= bytes;
}

// What reading one record gave: a command, nothing to draw, or damage that ends the reading.
enum class Outcome { Command, Skip, Damaged };

class Reader {
public:
    Reader(const char *rec, size_t size, Program &program) : m_rec(rec), m_end(rec + size), m_size(size), m_program(program) {}

    Outcome read()
    {
        switch (U_WMRTYPE(m_rec)) {
        case U_WMR_SETBKCOLOR: {
            U_COLORREF c;
            if (!U_WMRSETBKCOLOR_get(m_rec, &c))
                return Outcome::Damaged;
            return add(cmd::SetBkColor{color(c)});
        }
        case U_WMR_SETTEXTCOLOR: {
            U_COLORREF c;
            if (!U_WMRSETTEXTCOLOR_get(m_rec, &c))
                return Outcome::Damaged;
            return add(cmd::SetTextColor{color(c)});
        }
        case U_WMR_SETBKMODE: return attr(U_WMRSETBKMODE_get, cmd::Attr::BkMode);
        case U_WMR_SETMAPMODE: return attr(U_WMRSETMAPMODE_get, cmd::Attr::MapMode);
        case U_WMR_SETPOLYFILLMODE: return attr(U_WMRSETPOLYFILLMODE_get, cmd::Attr::PolyFillMode);
        case U_WMR_SETTEXTALIGN: return attr(U_WMRSETTEXTALIGN_get, cmd::Attr::TextAlign);
        case U_WMR_SETWINDOWORG: return mapping(U_WMRSETWINDOWORG_get, cmd::Mapping::WindowOrg);
        case U_WMR_SETWINDOWEXT: return mapping(U_WMRSETWINDOWEXT_get, cmd::Mapping::WindowExt);
        case U_WMR_SETVIEWPORTORG: return mapping(U_WMRSETVIEWPORTORG_get, cmd::Mapping::ViewportOrg);
        case U_WMR_SETVIEWPORTEXT: return mapping(U_WMRSETVIEWPORTEXT_get, cmd::Mapping::ViewportExt);
        case U_WMR_OFFSETWINDOWORG: return mapping(U_WMROFFSETWINDOWORG_get, cmd::Mapping::OffsetWindowOrg);
        case U_WMR_OFFSETVIEWPORTORG: return mapping(U_WMROFFSETVIEWPORTORG_get, cmd::Mapping::OffsetViewportOrg);
        case U_WMR_SCALEWINDOWEXT: return scale(U_WMRSCALEWINDOWEXT_get, false);
        case U_WMR_SCALEVIEWPORTEXT: return scale(U_WMRSCALEVIEWPORTEXT_get, true);
        case U_WMR_MOVETO: {
            U_POINT16 p;
            if (!U_WMRMOVETO_get(m_rec, &p))
                return Outcome::Damaged;
            return add(cmd::MoveTo{point(p)});
        }
        case U_WMR_LINETO: {
            U_POINT16 p;
            if (!U_WMRLINETO_get(m_rec, &p))
                return Outcome::Damaged;
            return add(cmd::LineTo{point(p)});
        }
        case U_WMR_EXCLUDECLIPRECT:
        case U_WMR_INTERSECTCLIPRECT: {
            U_RECT16 r;
            const bool exclude = U_WMRTYPE(m_rec) == U_WMR_EXCLUDECLIPRECT;
            if (!(exclude ? U_WMREXCLUDECLIPRECT_get(m_rec, &r) : U_WMRINTERSECTCLIPRECT_get(m_rec, &r)))
                return Outcome::Damaged;
            return add(cmd::ClipRect{exclude, edges(r)});
        }
        case U_WMR_RECTANGLE: {
            U_RECT16 r;
            if (!U_WMRRECTANGLE_get(m_rec, &r))
                return Outcome::Damaged;
            return add(cmd::Rectangle{edges(r)});
        }
        case U_WMR_ELLIPSE: {
            U_RECT16 r;
            if (!U_WMRELLIPSE_get(m_rec, &r))
                return Outcome::Damaged;
            return add(cmd::Ellipse{edges(r)});
        }
        case U_WMR_ROUNDRECT: {
            int16_t w, h;
            U_RECT16 r;
            if (!U_WMRROUNDRECT_get(m_rec, &w, &h, &r))
                return Outcome::Damaged;
            return add(cmd::RoundRect{edges(r), w, h});
        }
        case U_WMR_ARC: return arc(U_WMRARC_get, cmd::ArcKind::Arc);
        case U_WMR_PIE: return arc(U_WMRPIE_get, cmd::ArcKind::Pie);
        case U_WMR_CHORD: return arc(U_WMRCHORD_get, cmd::ArcKind::Chord);
        case U_WMR_POLYGON:
        case U_WMR_POLYLINE: {
            uint16_t n = 0;
            const char *data = nullptr;
            const bool polygon = U_WMRTYPE(m_rec) == U_WMR_POLYGON;
            if (!(polygon ? U_WMRPOLYGON_get(m_rec, &n, &data) : U_WMRPOLYLINE_get(m_rec, &n, &data))
                || !fits(data, qint64(n) * 4, m_end))
                return Outcome::Damaged;
            if (polygon)
                return add(cmd::Polygon{points(data, n)});
            return add(cmd::Polyline{points(data, n)});
        }
        case U_WMR_POLYPOLYGON: return polyPolygon();
        case U_WMR_TEXTOUT: return textOut();
        case U_WMR_EXTTEXTOUT: return extTextOut();
        case U_WMR_SAVEDC:
            if (!U_WMRSAVEDC_get(m_rec))
                return Outcome::Damaged;
            return add(cmd::SaveDc{});
        case U_WMR_RESTOREDC: {
            int16_t which = 0;
            if (!U_WMRRESTOREDC_get(m_rec, &which))
                return Outcome::Damaged;
            return add(cmd::RestoreDc{which});
        }
        case U_WMR_SELECTOBJECT: {
            uint16_t i = 0;
            if (!U_WMRSELECTOBJECT_get(m_rec, &i))
                return Outcome::Damaged;
            return add(cmd::SelectObject{i});
        }
        case U_WMR_DELETEOBJECT: {
            uint16_t i = 0;
            if (!U_WMRDELETEOBJECT_get(m_rec, &i))
                return Outcome::Damaged;
            return add(cmd::DeleteObject{i});
        }
        case U_WMR_CREATEPENINDIRECT: {
            U_PEN pen;
            if (!U_WMRCREATEPENINDIRECT_get(m_rec, &pen))
                return Outcome::Damaged;
            return add(cmd::CreatePen{PenSpec{pen.Style, std::min(32767, std::abs(int(int16_t(pen.Widthw[0])))), color(pen.Color)}});
        }
        case U_WMR_CREATEBRUSHINDIRECT: {
            const char *b = nullptr;
            if (!U_WMRCREATEBRUSHINDIRECT_get(m_rec, &b) || !fits(b, U_SIZE_WLOGBRUSH, m_end))
                return Outcome::Damaged;
            U_WLOGBRUSH lb;
            std::memcpy(&lb, b, U_SIZE_WLOGBRUSH);
            BrushSpec brush;
            brush.style = lb.Style;
            brush.color = color(lb.Color);
            brush.hatch = lb.Hatch;
            return add(cmd::CreateBrush{brush});
        }
        case U_WMR_DIBCREATEPATTERNBRUSH: return patternBrush();
        case U_WMR_CREATEFONTINDIRECT: return font();
        case U_WMR_CREATEPALETTE:
        case U_WMR_F8:
        case U_WMR_CREATEPATTERNBRUSH:
        case U_WMR_CREATEBITMAPINDIRECT:
        case U_WMR_CREATEBITMAP:
        case U_WMR_CREATEREGION:
            return add(cmd::CreateOther{});
        case U_WMR_PATBLT: {
            U_POINT16 dst, wh;
            uint32_t rop = 0;
            if (!U_WMRPATBLT_get(m_rec, &dst, &wh, &rop))
                return Outcome::Damaged;
            return add(cmd::PatBlt{Edges{dst.x, dst.y, dst.x + wh.x, dst.y + wh.y}, rop});
        }
        case U_WMR_SETPIXEL: {
            if (m_size < U_SIZE_WMRSETPIXEL)
                return Outcome::Damaged;
            U_COLORREF c;
            U_POINT16 p;
            U_WMRSETPIXEL_get(m_rec, &c, &p);
            return add(cmd::SetPixel{point(p), color(c)});
        }
        case U_WMR_STRETCHDIB: return stretchDib();
        case U_WMR_DIBSTRETCHBLT: return dibStretchBlt();
        case U_WMR_DIBBITBLT: return dibBitBlt();
        case U_WMR_SETDIBTODEV: return setDibToDev();
        default:
            ++m_program.skipped;
            return Outcome::Skip;
        }
    }

private:
    template <typename T>
    Outcome add(T &&command)
    {
        m_program.commands.emplace_back(std::forward<T>(command));
        return Outcome::Command;
    }

    Outcome attr(int (*get)(const char *, uint16_t *), cmd::Attr what)
    {
        uint16_t v = 0;
        if (!get(m_rec, &v))
            return Outcome::Damaged;
        return add(cmd::SetAttr{what, v});
    }

    Outcome mapping(int (*get)(const char *, U_POINT16 *), cmd::Mapping what)
    {
        U_POINT16 p{0, 0};
        if (m_size < 10 || !get(m_rec, &p))
            return Outcome::Damaged;
        return add(cmd::SetMapping{what, point(p)});
    }

    Outcome scale(int (*get)(const char *, U_POINT16 *, U_POINT16 *), bool viewport)
    {
        U_POINT16 denom, num;
        if (!get(m_rec, &denom, &num))
            return Outcome::Damaged;
        // The getter pairs the words up differently from the format (yDenom, yNum, xDenom, xNum),
        // so the values are taken from the record itself once its size has been checked.
        const char *w = m_rec + U_SIZE_METARECORD;
        return add(cmd::ScaleExt{viewport, s16(w + 6), s16(w + 4), s16(w + 2), s16(w)});
    }

    Outcome arc(int (*get)(const char *, U_POINT16 *, U_POINT16 *, U_RECT16 *), cmd::ArcKind kind)
    {
        U_POINT16 a, b;
        U_RECT16 r;
        if (!get(m_rec, &a, &b, &r))
            return Outcome::Damaged;
        return add(cmd::Arc{kind, edges(r), point(a), point(b)});
    }

    Outcome polyPolygon()
    {
        uint16_t n = 0;
        const uint16_t *counts = nullptr;
        const char *data = nullptr;
        if (!U_WMRPOLYPOLYGON_get(m_rec, &n, &counts, &data))
            return Outcome::Damaged;
        const char *countBytes = reinterpret_cast<const char *>(counts);
        if (!fits(countBytes, qint64(n) * 2, m_end))
            return Outcome::Damaged;
        qint64 total = 0;
        for (int i = 0; i < n; ++i)
            total += u16(countBytes + 2 * i);
        if (!fits(data, total * 4, m_end))
            return Outcome::Damaged;
        cmd::PolyPolygon pp;
        pp.polygons.reserve(n);
        for (int i = 0; i < n; ++i) {
            const int c = u16(countBytes + 2 * i);
            pp.polygons.push_back(points(data, c));
            data += 4 * qint64(c);
        }
        return add(std::move(pp));
    }

    Outcome textOut()
    {
        // The getter trusts the length it finds, so the length is checked first.
        if (m_size < U_SIZE_WMRTEXTOUT)
            return Outcome::Damaged;
        const int16_t length = s16(m_rec + U_SIZE_METARECORD);
        if (length < 0 || !fits(m_rec + 8, ((length + 1) & ~1) + 4, m_end))
            return Outcome::Damaged;
        U_POINT16 at;
        int16_t len = 0;
        const char *str = nullptr;
        if (!U_WMRTEXTOUT_get(m_rec, &at, &len, &str))
            return Outcome::Damaged;
        return add(cmd::Text{point(at), decodeCp1252(QByteArray(str, len)), {}, 0, {}});
    }

    Outcome extTextOut()
    {
        U_POINT16 at;
        int16_t length = 0;
        uint16_t opts = 0;
        const char *str = nullptr;
        const int16_t *dx = nullptr;
        U_RECT16 r{0, 0, 0, 0};
        if (!U_WMREXTTEXTOUT_get(m_rec, &at, &length, &opts, &str, &dx, &r))
            return Outcome::Damaged;
        if ((opts & (U_ETO_OPAQUE | U_ETO_CLIPPED)) && !fits(m_rec + U_SIZE_WMREXTTEXTOUT, U_SIZE_RECT16, m_end))
            return Outcome::Damaged;
        if (length < 0 || !fits(str, length, m_end))
            return Outcome::Damaged;
        cmd::Text text{point(at), decodeCp1252(QByteArray(str, length)), {}, opts, edges(r)};
        const char *dxBytes = str + ((length + 1) & ~1);
        if (length > 0 && fits(dxBytes, qint64(length) * 2, m_end)) {
            text.dx.resize(size_t(length));
            for (int i = 0; i < length; ++i)
                text.dx[size_t(i)] = s16(dxBytes + 2 * i);
        }
        return add(std::move(text));
    }

    Outcome font()
    {
        const char *f = nullptr;
        if (!U_WMRCREATEFONTINDIRECT_get(m_rec, &f) || !fits(f, U_SIZE_FONT_CORE, m_end))
            return Outcome::Damaged;
        FontSpec spec;
        spec.height = s16(f);
        spec.width = s16(f + 2);
        spec.escapement = s16(f + 4);
        spec.weight = s16(f + 8);
        spec.italic = f[10] != 0;
        spec.underline = f[11] != 0;
        spec.strikeOut = f[12] != 0;
        const char *name = f + U_SIZE_FONT_CORE;
        const qsizetype room = std::clamp<qsizetype>(m_end - name, 0, 32);
        const qsizetype len = qsizetype(strnlen(name, size_t(room)));
        spec.face = decodeCp1252(QByteArray(name, len)).trimmed();
        return add(cmd::CreateFont{spec});
    }

    Outcome patternBrush()
    {
        uint16_t style = 0, usage = 0;
        const char *bm16 = nullptr, *dib = nullptr;
        if (m_size < U_SIZE_WMRDIBCREATEPATTERNBRUSH)
            return Outcome::Damaged;
        if (!U_WMRDIBCREATEPATTERNBRUSH_get(m_rec, &style, &usage, &bm16, &dib) || !dib)
            return add(cmd::CreateOther{});
        BrushSpec brush;
        brush.style = U_BS_DIBPATTERNPT;
        brush.pattern = decodeDib(dib, m_end, usage);
        if (brush.pattern.isNull())
            return add(cmd::CreateOther{});
        return add(cmd::CreateBrush{brush});
    }

    Outcome bitmap(const Edges &dst, int sx, int sy, int sw, int sh, uint32_t rop, const char *dib, uint16_t usage)
    {
        cmd::Bitmap b{dst, {}, rop, {}};
        if (dib) {
            b.image = decodeDib(dib, m_end, usage);
            if (b.image.isNull()) {
                ++m_program.skipped;
                return Outcome::Skip;
            }
            // Source rows count from the bottom of a bottom-up bitmap; the decoded image is top-down.
            const int h = b.image.height();
            QRect src(sx, h - sy - sh, sw, sh);
            b.src = src.normalized().intersected(b.image.rect());
            if (b.src.isEmpty()) {
                ++m_program.skipped;
                return Outcome::Skip;
            }
        }
        return add(std::move(b));
    }

    Outcome stretchDib()
    {
        U_POINT16 dst, cdst, src, csrc;
        uint16_t usage = 0;
        uint32_t rop = 0;
        const char *dib = nullptr;
        if (m_size < U_SIZE_WMRSTRETCHDIB)
            return Outcome::Damaged;
        if (!U_WMRSTRETCHDIB_get(m_rec, &dst, &cdst, &src, &csrc, &usage, &rop, &dib)) {
            ++m_program.skipped;
            return Outcome::Skip;
        }
        return bitmap(Edges{dst.x, dst.y, dst.x + cdst.x, dst.y + cdst.y}, src.x, src.y, csrc.x, csrc.y, rop, dib, usage);
    }

    Outcome dibStretchBlt()
    {
        U_POINT16 dst, cdst, src, csrc;
        uint32_t rop = 0;
        const char *dib = nullptr;
        if (m_size < U_SIZE_WMRDIBSTRETCHBLT_PX)
            return Outcome::Damaged;
        if (!U_WMRDIBSTRETCHBLT_get(m_rec, &dst, &cdst, &src, &csrc, &rop, &dib)) {
            ++m_program.skipped;
            return Outcome::Skip;
        }
        return bitmap(Edges{dst.x, dst.y, dst.x + cdst.x, dst.y + cdst.y}, src.x, src.y, csrc.x, csrc.y, rop, dib, 0);
    }

    Outcome dibBitBlt()
    {
        U_POINT16 dst, wh, src;
        uint32_t rop = 0;
        const char *dib = nullptr;
        if (m_size < U_SIZE_WMRDIBBITBLT_PX)
            return Outcome::Damaged;
        if (!U_WMRDIBBITBLT_get(m_rec, &dst, &wh, &src, &rop, &dib)) {
            ++m_program.skipped;
            return Outcome::Skip;
        }
        return bitmap(Edges{dst.x, dst.y, dst.x + wh.x, dst.y + wh.y}, src.x, src.y, wh.x, wh.y, rop, dib, 0);
    }

    Outcome setDibToDev()
    {
        U_POINT16 dst, wh, src;
        uint16_t usage = 0, scans = 0, start = 0;
        const char *dib = nullptr;
        if (m_size < U_SIZE_WMRSETDIBTODEV)
            return Outcome::Damaged;
        if (!U_WMRSETDIBTODEV_get(m_rec, &dst, &wh, &src, &usage, &scans, &start, &dib)) {
            ++m_program.skipped;
            return Outcome::Skip;
        }
        return bitmap(Edges{dst.x, dst.y, dst.x + wh.x, dst.y + wh.y}, src.x, src.y, wh.x, wh.y, U_SRCCOPY, dib, usage);
    }

    const char *m_rec;
    const char *m_end;
    size_t m_size;
    Program &m_program;
};

QRgb paletteColor(const char *table, int entrySize, int index, int count)
{
    if (index >= count)
        return qRgb(0, 0, 0);
    const char *e = table + qint64(index) * entrySize;
    if (entrySize == 2) {                                       // palette indexes: shown as greys
        const int g = u16(e) & 0xFF;
        return qRgb(g, g, g);
    }
    return qRgb(uint8_t(e[2]), uint8_t(e[1]), uint8_t(e[0]));
}

int maskShift(uint32_t mask)
{
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

int maskValue(uint32_t pixel, uint32_t mask)
{
    if (!mask)
        return 0;
    const int shift = maskShift(mask);
    const uint32_t m = mask >> shift;
    return int(((pixel & mask) >> shift) * 255u / m);
}

} // namespace

QImage decodeDib(const char *dib, const char *limit, uint16_t colorUsage)
{
    if (!dib || !fits(dib, 4, limit))
        return {};
    const uint32_t headerSize = u32(dib);
    int32_t width = 0, height = 0;
    int bits = 0;
    uint32_t compression = U_BI_RGB, sizeImage = 0, colorsUsed = 0;
    int entrySize = colorUsage == 1 ? 2 : 4;
    if (headerSize == U_SIZE_BITMAPCOREHEADER) {
        if (!fits(dib, 12, limit))
            return {};
        width = u16(dib + 4);
        height = u16(dib + 6);
        bits = u16(dib + 10);
        if (colorUsage != 1)
            entrySize = 3;
    } else if (headerSize >= U_SIZE_BITMAPINFOHEADER && headerSize <= 1024) {
        if (!fits(dib, headerSize, limit))
            return {};
        width = s32(dib + 4);
        height = s32(dib + 8);
        bits = u16(dib + 14);
        compression = u32(dib + 16);
        sizeImage = u32(dib + 20);
        colorsUsed = u32(dib + 32);
    } else {
        return {};
    }
    const bool topDown = height < 0;
    const qint64 h = std::abs(qint64(height));
    if (width <= 0 || h == 0 || width > kMaxBitmapSide || h > kMaxBitmapSide || qint64(width) * h > kMaxBitmapPixels)
        return {};
    const char *p = dib + headerSize;
    if (compression == 4 || compression == 5) {                 // embedded JPEG or PNG
        if (!fits(p, sizeImage, limit) || sizeImage == 0)
            return {};
        // The size is read before the pixels, so a small file cannot unpack into a huge image.
        QByteArray bytes = QByteArray::fromRawData(p, qsizetype(sizeImage));
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, compression == 4 ? "JPEG" : "PNG");
        const QSize size = reader.size();
        if (!size.isValid() || qint64(size.width()) * size.height() > kMaxBitmapPixels)
            return {};
        QImage img = reader.read();
        if (img.isNull() || qint64(img.width()) * img.height() > kMaxBitmapPixels)
            return {};
        return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bits == 32)
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (compression == 3) {
        if (bits != 16 && bits != 32)
            return {};
        if (headerSize == U_SIZE_BITMAPINFOHEADER) {
            if (!fits(p, 12, limit))
                return {};
            for (int i = 0; i < 3; ++i)
                masks[i] = u32(p + 4 * i);
            p += 12;
        } else {
            for (int i = 0; i < 3; ++i)
                masks[i] = u32(dib + 40 + 4 * i);
        }
    } else if (compression != U_BI_RGB) {
        return {};                                              // run-length bitmaps are not drawn
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return {};
    qint64 colors = colorsUsed;
    if (bits <= 8) {
        if (colors == 0 || colors > (1 << bits))
            colors = 1 << bits;
    } else if (colors > 65536) {
        return {};
    }
    const char *table = p;
    if (!fits(table, colors * entrySize, limit))
        return {};
    p += colors * entrySize;
    const qint64 stride = ((qint64(width) * bits + 31) / 32) * 4;
    if (!fits(p, stride * h, limit))
        return {};

    QImage img(width, int(h), QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < h; ++y) {
        const auto *row = reinterpret_cast<const uint8_t *>(p + stride * (topDown ? y : h - 1 - y));
        auto *out = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            switch (bits) {
            case 1: out[x] = paletteColor(table, entrySize, (row[x >> 3] >> (7 - (x & 7))) & 1, int(colors)); break;
            case 4: out[x] = paletteColor(table, entrySize, (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF, int(colors)); break;
            case 8: out[x] = paletteColor(table, entrySize, row[x], int(colors)); break;
            case 16: {
                const uint32_t v = uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
                out[x] = qRgb(maskValue(v, masks[0]), maskValue(v, masks[1]), maskValue(v, masks[2]));
                break;
            }
            case 24: out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
            case 32: {
                const uint32_t v = u32(reinterpret_cast<const char *>(row + 4 * x));
                if (compression == 3) {
                    out[x] = qRgb(maskValue(v, masks[0]), maskValue(v, masks[1]), maskValue(v, masks[2]));
                } else {
                    out[x] = qRgba(row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]);
                    anyAlpha = anyAlpha || row[4 * x + 3] != 0;
                }
                break;
            }
            }
        }
    }
    // A 32-bit bitmap whose fourth bytes are all zero is opaque, as GDI draws it.
    if (bits == 32 && compression != 3 && !anyAlpha)
        return img.convertToFormat(QImage::Format_RGB32);
    if (bits == 32 && compression != 3)
        return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return img.convertToFormat(QImage::Format_RGB32);
}

std::optional<Program> parseProgram(const QByteArray &data)
{
    if (data.size() < U_SIZE_WMRPLACEABLE + U_SIZE_WMRHEADER)
        return std::nullopt;
    QByteArray padded = data;
    padded.append(QByteArray(kPadding, '\0'));
    const char *base = padded.constData();
    const char *end = base + data.size();

    U_WMRPLACEABLE placeable;
    U_WMRHEADER header;
    // wmfheader_get counts the placeable header twice when it checks the limit, so it is given
    // the padded end and the header's length is checked against the real end here.
    const int headerBytes = wmfheader_get(base, end + kPadding, &placeable, &header);
    if (headerBytes <= 0 || headerBytes > data.size() || placeable.Key != 0x9AC6CDD7 || header.Size16w * 2 < U_SIZE_WMRHEADER)
        return std::nullopt;
    const QRect bounds = QRect(QPoint(placeable.Dst.left, placeable.Dst.top), QPoint(placeable.Dst.right, placeable.Dst.bottom)).normalized();
    const int w = std::abs(placeable.Dst.right - placeable.Dst.left);
    const int h = std::abs(placeable.Dst.bottom - placeable.Dst.top);
    if (w == 0 || h == 0 || placeable.Inch == 0)
        return std::nullopt;

    Program program;
    program.bounds = QRect(bounds.left(), bounds.top(), w, h);
    program.unitsPerInch = placeable.Inch;
    program.objects = header.nObjects;
    const char *rec = base + headerBytes;
    while (rec < end) {
        const size_t size = U_WMRRECSAFE_get(rec, end);
        if (size == 0) {
            program.damaged = true;
            break;
        }
        if (U_WMRTYPE(rec) == U_WMR_EOF)
            break;
        Reader reader(rec, size, program);
        if (reader.read() == Outcome::Damaged) {
            program.damaged = true;
            break;
        }
        rec += size;
    }
    return program;
}

} // namespace terravale::wmf
