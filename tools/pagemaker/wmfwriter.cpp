// Records what QPainter draws as a placeable Windows metafile, building each record with libuemf.
#include "wmfwriter.h"

#include "platform/textcodec.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <QtEndian>

#include <uwmf.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace terravale {
namespace {

constexpr int kMaxObjects = 512;           // live objects before unused ones are deleted
constexpr int kMaxImageSide = 4096;         // bitmap pixels per side at most
constexpr double kMaxImageDpi = 300.0;      // bitmaps are not stored finer than this
constexpr double kMirrorSide = 1000.0;      // pixels along the longer side of the drawing's small copy

int16_t clamp16(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int16_t>(std::lround(std::clamp(v, -32767.0, 32767.0)));
}

U_POINT16 point16(const QPointF &p)
{
    return U_POINT16{clamp16(p.x()), clamp16(p.y())};
}

U_RECT16 rect16(const QRectF &r)
{
    const QRectF n = r.normalized();
    return U_RECT16{clamp16(n.left()), clamp16(n.top()), clamp16(n.right()), clamp16(n.bottom())};
}

// Metafiles have no transparency: a translucent colour is mixed with the colour under it.
U_COLORREF colorRef(const QColor &c, double opacity = 1.0, const QColor &under = Qt::white)
{
    const double a = std::clamp(c.alphaF() * opacity, 0.0, 1.0);
    auto over = [a](int v, int u) { return static_cast<uint8_t>(std::lround(v * a + u * (1.0 - a))); };
    return colorref3_set(over(c.red(), under.red()), over(c.green(), under.green()), over(c.blue(), under.blue()));
}

// A brush as one colour: for a gradient the average of its stops (linear and radial fills are
// drawn as bands instead), for a texture its average pixel.
QColor brushColor(const QBrush &brush)
{
    if (const QGradient *g = brush.gradient()) {
        const QGradientStops stops = g->stops();
        if (stops.isEmpty())
            return QColor(Qt::transparent);
        double r = 0, gr = 0, b = 0, a = 0;
        for (const auto &s : stops) {
            r += s.second.redF();
            gr += s.second.greenF();
            b += s.second.blueF();
            a += s.second.alphaF();
        }
        const double n = stops.size();
        return QColor::fromRgbF(float(r / n), float(gr / n), float(b / n), float(a / n));
    }
    if (brush.style() == Qt::TexturePattern) {
        const QImage img = brush.textureImage().isNull() ? brush.texture().toImage() : brush.textureImage();
        if (img.isNull())
            return brush.color();
        return QColor::fromRgba(img.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixel(0, 0));
    }
    return brush.color();
}

// Accumulates records and keeps the object table: lowest free slot first, as players expect.
class WmfStream {
public:
    WmfStream(const QSize &size, int unitsPerInch) : m_size(size), m_upi(unitsPerInch) {}

    void append(char *record)
    {
        if (!record)
            return;
        const uint32_t bytes = U_wmr_size(reinterpret_cast<const U_METARECORD *>(record));
        m_records.append(record, static_cast<qsizetype>(bytes));
        m_largest = std::max(m_largest, bytes / 2);
        std::free(record);
    }

    int createObject(char *record)
    {
        if (!record)
            return -1;
        int slot = 0;
        while (slot < int(m_used.size()) && m_used[size_t(slot)])
            ++slot;
        if (slot == int(m_used.size()))
            m_used.push_back(true);
        else
            m_used[size_t(slot)] = true;
        m_peak = std::max(m_peak, int(m_used.size()));
        append(record);
        return slot;
    }

    void deleteObject(int slot)
    {
        if (slot < 0 || slot >= int(m_used.size()) || !m_used[size_t(slot)])
            return;
        append(U_WMRDELETEOBJECT_set(uint16_t(slot)));
        m_used[size_t(slot)] = false;
    }

    QByteArray finish()
    {
        append(U_WMREOF_set());
        U_PAIRF inches{float(m_size.width()) / float(m_upi), float(m_size.height()) / float(m_upi)};
        char *head = U_WMRHEADER_set(&inches, unsigned(m_upi));
        if (!head)
            return {};
        QByteArray out(head, U_SIZE_WMRPLACEABLE + U_SIZE_WMRHEADER);
        std::free(head);
        char *p = out.data();
        // Exact bounds and the header's totals, then the placeable checksum over its first ten words.
        qToLittleEndian<int16_t>(0, p + 6);
        qToLittleEndian<int16_t>(0, p + 8);
        qToLittleEndian<int16_t>(clamp16(m_size.width()), p + 10);
        qToLittleEndian<int16_t>(clamp16(m_size.height()), p + 12);
        qToLittleEndian<uint16_t>(uint16_t(m_upi), p + 14);
        uint16_t sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= qFromLittleEndian<uint16_t>(p + 2 * i);
        qToLittleEndian<uint16_t>(sum, p + 20);
        char *h = p + U_SIZE_WMRPLACEABLE;
        const uint32_t words = uint32_t((U_SIZE_WMRHEADER + m_records.size()) / 2);
        qToLittleEndian<uint32_t>(words, h + 6);
        qToLittleEndian<uint16_t>(uint16_t(m_peak), h + 10);
        qToLittleEndian<uint32_t>(std::max<uint32_t>(m_largest, U_SIZE_WMRHEADER / 2), h + 12);
        out.append(m_records);
        return out;
    }

    int liveObjects() const { return int(std::count(m_used.begin(), m_used.end(), true)); }

private:
    QSize m_size;
    int m_upi;
    QByteArray m_records;
    uint32_t m_largest = 0;
    std::vector<bool> m_used;
    int m_peak = 0;
};

// Pens, brushes and fonts are created once per distinct value and selected when needed.
class ObjectCache {
public:
    explicit ObjectCache(WmfStream &stream) : m_stream(stream) {}

    // Selects the object for key, creating it with make() the first time.
    template <typename Make>
    void select(int kind, const QByteArray &key, Make make)
    {
        const QByteArray full = QByteArray::number(kind) + ':' + key;
        int slot = m_slots.value(full, -1);
        if (slot < 0) {
            evictIfFull();
            slot = m_stream.createObject(make());
            if (slot < 0)
                return;
            m_slots.insert(full, slot);
        }
        m_lastUse[slot] = ++m_clock;
        if (m_selected[kind] != slot) {
            m_stream.append(U_WMRSELECTOBJECT_set(uint16_t(slot)));
            m_selected[kind] = slot;
        }
    }

    std::array<int, 3> selection() const { return m_selected; }
    void setSelection(const std::array<int, 3> &s) { m_selected = s; }
    void pin(const std::array<int, 3> &s) { m_pinned = s; }

private:
    void evictIfFull()
    {
        if (m_stream.liveObjects() < kMaxObjects)
            return;
        QByteArray victim;
        int victimSlot = -1;
        quint64 oldest = ~quint64(0);
        for (auto it = m_slots.cbegin(); it != m_slots.cend(); ++it) {
            const int s = it.value();
            if (std::find(m_selected.begin(), m_selected.end(), s) != m_selected.end()
                || std::find(m_pinned.begin(), m_pinned.end(), s) != m_pinned.end())
                continue;
            if (m_lastUse.value(s) < oldest) {
                oldest = m_lastUse.value(s);
                victim = it.key();
                victimSlot = s;
            }
        }
        if (victimSlot >= 0) {
            m_stream.deleteObject(victimSlot);
            m_slots.remove(victim);
        }
    }

    WmfStream &m_stream;
    QHash<QByteArray, int> m_slots;
    QHash<int, quint64> m_lastUse;
    quint64 m_clock = 0;
    std::array<int, 3> m_selected{-1, -1, -1};
    std::array<int, 3> m_pinned{-1, -1, -1};
};

enum Kind { PenKind = 0, BrushKind = 1, FontKind = 2 };

class WmfEngine : public QPaintEngine {
public:
    WmfEngine(WmfStream &stream, int unitsPerInch)
        : QPaintEngine(QPaintEngine::AllFeatures), m_stream(stream), m_objects(stream), m_upi(unitsPerInch)
    {
    }

    bool begin(QPaintDevice *device) override
    {
        m_device = device;
        m_k = std::min(1.0, kMirrorSide / std::max(device->width(), device->height()));
        m_mirror = QImage(int(std::ceil(device->width() * m_k)), int(std::ceil(device->height() * m_k)), QImage::Format_RGB32);
        m_mirror.fill(Qt::white);
        m_mirrorPainter = std::make_unique<QPainter>(&m_mirror);
        m_mirrorPainter->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        m_stream.append(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
        m_stream.append(U_WMRSETWINDOWORG_set(U_POINT16{0, 0}));
        m_stream.append(U_WMRSETWINDOWEXT_set(point16(QPointF(device->width(), device->height()))));
        m_stream.append(U_WMRSETBKMODE_set(U_TRANSPARENT));
        m_stream.append(U_WMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_LEFT | U_TA_NOUPDATECP));
        m_stream.append(U_WMRSETPOLYFILLMODE_set(U_ALTERNATE));
        m_stream.append(U_WMRSETSTRETCHBLTMODE_set(U_STRETCH_HALFTONE));
        return true;
    }

    bool end() override
    {
        closeClip();
        m_mirrorPainter.reset();
        return true;
    }

    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState &paintState) override
    {
        const QPaintEngine::DirtyFlags f = paintState.state();
        if (f & DirtyPen)
            m_pen = paintState.pen();
        if (f & DirtyBrush)
            m_brush = paintState.brush();
        if (f & DirtyTransform)
            m_transform = paintState.transform();
        if (f & DirtyOpacity)
            m_opacity = paintState.opacity();
        if (f & (DirtyClipPath | DirtyClipRegion | DirtyClipEnabled))
            updateClip(paintState);
    }

    void drawPath(const QPainterPath &path) override
    {
        const QList<QPolygonF> polys = path.toSubpathPolygons(m_transform);
        drawPolygons(polys, path.fillRule(), true);
        mirror([&](QPainter &m) { m.drawPath(path); });
    }

    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        if (count <= 0)
            return;
        QPolygonF poly(count);
        for (int i = 0; i < count; ++i)
            poly[i] = m_transform.map(points[i]);
        if (mode == PolylineMode) {
            strokePolylines({poly});
            mirror([&](QPainter &m) { m.drawPolyline(points, count); });
            return;
        }
        poly.append(poly.first());
        const Qt::FillRule rule = mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill;
        drawPolygons({poly}, rule, false);
        mirror([&](QPainter &m) { m.drawPolygon(points, count, rule); });
    }

    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            if (axisAligned() && !banded()) {
                m_extent = m_transform.mapRect(rects[i]);
                if (!selectFill() && !hasPen())
                    continue;
                selectPen();
                m_stream.append(U_WMRRECTANGLE_set(rect16(m_extent)));
                mirror([&](QPainter &m) { m.drawRect(rects[i]); });
            } else {
                QPainterPath p;
                p.addRect(rects[i]);
                drawPath(p);
            }
        }
    }

    void drawLines(const QLineF *lines, int count) override
    {
        QList<QPolygonF> polys;
        for (int i = 0; i < count; ++i)
            polys.append(QPolygonF{m_transform.map(lines[i].p1()), m_transform.map(lines[i].p2())});
        strokePolylines(polys);
        mirror([&](QPainter &m) { m.drawLines(lines, count); });
    }

    void drawEllipse(const QRectF &r) override
    {
        if (axisAligned() && !banded()) {
            m_extent = m_transform.mapRect(r);
            if (!selectFill() && !hasPen())
                return;
            selectPen();
            m_stream.append(U_WMRELLIPSE_set(rect16(m_extent)));
            mirror([&](QPainter &m) { m.drawEllipse(r); });
            return;
        }
        QPainterPath p;
        p.addEllipse(r);
        drawPath(p);
    }

    void drawPoints(const QPointF *points, int count) override
    {
        if (!hasPen())
            return;
        const QColor c = m_pen.color();
        const double w = std::max(1.0, penWidth() );
        for (int i = 0; i < count; ++i) {
            const QPointF p = m_transform.map(points[i]);
            m_extent = QRectF(p.x() - w / 2, p.y() - w / 2, w, w);
            selectPenNull();
            selectBrushColor(c);
            m_stream.append(U_WMRELLIPSE_set(rect16(m_extent)));
        }
        mirror([&](QPainter &m) { m.drawPoints(points, count); });
    }

    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override
    {
        drawImage(r, pm.toImage(), sr, Qt::AutoColor);
    }

    void drawTiledPixmap(const QRectF &r, const QPixmap &pm, const QPointF &offset) override
    {
        // Tiles are stored as one stretched copy of a tiled image.
        if (pm.isNull() || r.isEmpty())
            return;
        QImage tiled(QSize(std::min(kMaxImageSide, int(std::ceil(r.width()))), std::min(kMaxImageSide, int(std::ceil(r.height())))),
                     QImage::Format_ARGB32_Premultiplied);
        tiled.fill(Qt::transparent);
        QPainter p(&tiled);
        p.scale(tiled.width() / r.width(), tiled.height() / r.height());
        p.drawTiledPixmap(QRectF(QPointF(0, 0), r.size()), pm, offset);
        p.end();
        drawImage(r, tiled, tiled.rect(), Qt::AutoColor);
    }

    void drawImage(const QRectF &r, const QImage &image, const QRectF &sr, Qt::ImageConversionFlags) override
    {
        if (image.isNull() || r.isEmpty())
            return;
        QRect src = sr.toAlignedRect().intersected(image.rect());
        if (src.isEmpty())
            return;
        QImage img = image.copy(src);
        const QRectF dst = m_transform.mapRect(r);
        // No finer than the stored resolution needs.
        const double maxW = std::max(1.0, std::min<double>(kMaxImageSide, dst.width() / m_upi * kMaxImageDpi));
        const double maxH = std::max(1.0, std::min<double>(kMaxImageSide, dst.height() / m_upi * kMaxImageDpi));
        if (img.width() > maxW || img.height() > maxH)
            img = img.scaled(QSize(int(std::ceil(maxW)), int(std::ceil(maxH))), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        appendDib(dst, img);
        mirror([&](QPainter &m) { m.drawImage(r, image, sr); });
    }

    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        const QString text = item.text().left(8000);
        if (text.isEmpty() || !hasPen())
            return;
        const QFont font = item.font();
        const double sx = std::hypot(m_transform.m11(), m_transform.m12());
        const double sy = std::hypot(m_transform.m21(), m_transform.m22());
        double px = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * m_upi / 72.0;
        px *= sy;
        const double angle = std::atan2(m_transform.m12(), m_transform.m11()) * 180.0 / M_PI;
        selectFont(font, px, angle);
        const QPointF at = m_transform.map(p);
        m_extent = QRectF(at.x(), at.y() - px, px * text.size() / 2, px);
        const U_COLORREF color = shown(m_pen.color());
        if (!m_textColorSet || std::memcmp(&color, &m_textColor, sizeof color) != 0) {
            m_stream.append(U_WMRSETTEXTCOLOR_set(color));
            m_textColor = color;
            m_textColorSet = true;
        }
        QByteArray bytes = encodeCp1252(text);
        // Character advances on this device, scaled so that they add up to the laid-out width
        // (which includes kerning), then rounded without losing the total.
        QFontMetricsF fm(font, m_device);
        std::vector<double> advance(size_t(text.size()));
        double sum = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            advance[size_t(i)] = (c.isHighSurrogate() || c.isLowSurrogate()) ? 0.0 : fm.horizontalAdvance(c);
            sum += advance[size_t(i)];
        }
        const double total = fm.horizontalAdvance(text);
        const double k = (sum > 0 ? total / sum : 1.0) * sx;
        std::vector<int16_t> dx(size_t(bytes.size()));
        double prev = 0, cum = 0;
        for (int i = 0; i < bytes.size(); ++i) {
            cum += advance[size_t(i)] * k;
            dx[size_t(i)] = clamp16(double(std::lround(cum) - std::lround(prev)));
            prev = cum;
        }
        m_stream.append(U_WMREXTTEXTOUT_set(point16(at), int16_t(bytes.size()), 0, bytes.constData(), dx.data(),
                                            U_RECT16{0, 0, 0, 0}));
    }

private:
    bool axisAligned() const { return m_transform.type() <= QTransform::TxScale; }
    bool banded() const
    {
        const QGradient *g = m_brush.gradient();
        return g && (g->type() == QGradient::LinearGradient || g->type() == QGradient::RadialGradient);
    }

    // Draws the primitive into the small copy of the drawing too, as the painter would.
    template <typename Draw>
    void mirror(Draw draw)
    {
        if (!m_mirrorPainter)
            return;
        QPainter &m = *m_mirrorPainter;
        m.setTransform(m_transform * QTransform::fromScale(m_k, m_k));
        m.setPen(m_pen);
        m.setBrush(m_brush);
        m.setOpacity(m_opacity);
        draw(m);
    }

    // The average colour already drawn under the current primitive's extent.
    QColor under() const
    {
        const QRect r = QRectF(m_extent.x() * m_k, m_extent.y() * m_k, m_extent.width() * m_k, m_extent.height() * m_k)
                            .toAlignedRect()
                            .intersected(m_mirror.rect());
        if (r.isEmpty())
            return Qt::white;
        return QColor::fromRgb(m_mirror.copy(r).scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixel(0, 0));
    }

    // The colour as it shows over what is under it.
    U_COLORREF shown(const QColor &c) const
    {
        const bool translucent = c.alphaF() * m_opacity < 0.999;
        return colorRef(c, m_opacity, translucent ? under() : QColor(Qt::white));
    }
    bool hasPen() const { return m_pen.style() != Qt::NoPen && effectiveAlpha(m_pen.brush()) > 0.004; }
    double effectiveAlpha(const QBrush &b) const
    {
        if (b.style() == Qt::NoBrush)
            return 0;
        return brushColor(b).alphaF() * m_opacity;
    }

    double penWidth() const
    {
        if (m_pen.isCosmetic() || m_pen.widthF() <= 0)
            return m_pen.widthF() <= 0 ? 0.0 : m_pen.widthF();
        const double scale = std::sqrt(std::abs(m_transform.determinant()));
        return m_pen.widthF() * scale;
    }

    void selectPenNull()
    {
        m_objects.select(PenKind, "null", [] { return U_WMRCREATEPENINDIRECT_set(U_PEN_set(U_PS_NULL, 0, colorref3_set(0, 0, 0))); });
    }

    void selectPen()
    {
        if (!hasPen()) {
            selectPenNull();
            return;
        }
        uint16_t style = U_PS_SOLID;
        switch (m_pen.style()) {
        case Qt::DashLine: style = U_PS_DASH; break;
        case Qt::DotLine: style = U_PS_DOT; break;
        case Qt::DashDotLine: style = U_PS_DASHDOT; break;
        case Qt::DashDotDotLine: style = U_PS_DASHDOTDOT; break;
        case Qt::CustomDashLine: style = U_PS_DASH; break;
        default: break;
        }
        switch (m_pen.capStyle()) {
        case Qt::FlatCap: style |= U_PS_ENDCAP_FLAT; break;
        case Qt::SquareCap: style |= U_PS_ENDCAP_SQUARE; break;
        default: break;
        }
        switch (m_pen.joinStyle()) {
        case Qt::MiterJoin:
        case Qt::SvgMiterJoin: style |= U_PS_JOIN_MITER; break;
        case Qt::BevelJoin: style |= U_PS_JOIN_BEVEL; break;
        default: break;
        }
        const uint16_t width = uint16_t(std::clamp<long>(std::lround(penWidth()), 0, 32767));
        const U_COLORREF c = shown(brushColor(m_pen.brush()));
        QByteArray key;
        key.append(reinterpret_cast<const char *>(&style), 2).append(reinterpret_cast<const char *>(&width), 2);
        key.append(reinterpret_cast<const char *>(&c), 4);
        m_objects.select(PenKind, key, [&] { return U_WMRCREATEPENINDIRECT_set(U_PEN_set(style, width, c)); });
    }

    void selectBrushNull()
    {
        m_objects.select(BrushKind, "null", [] {
            return U_WMRCREATEBRUSHINDIRECT_set(U_WLOGBRUSH_set(U_BS_NULL, colorref3_set(0, 0, 0), 0));
        });
    }

    void selectBrushColor(const QColor &color)
    {
        const U_COLORREF c = shown(color);
        const QByteArray key(reinterpret_cast<const char *>(&c), 4);
        m_objects.select(BrushKind, key, [&] { return U_WMRCREATEBRUSHINDIRECT_set(U_WLOGBRUSH_set(U_BS_SOLID, c, 0)); });
    }

    // Selects the painter's brush; false when it paints nothing.
    bool selectFill()
    {
        if (effectiveAlpha(m_brush) <= 0.004) {
            selectBrushNull();
            return false;
        }
        selectBrushColor(brushColor(m_brush));
        return true;
    }

    void selectFont(const QFont &font, double px, double angle)
    {
        const QStringList fams = font.families();
        QByteArray face = encodeCp1252(fams.isEmpty() ? font.family() : fams.first()).left(31);
        const int16_t height = int16_t(-std::clamp<long>(std::lround(px), 1, 32767));
        const int16_t esc = clamp16(-angle * 10.0);
        const int16_t weight = int16_t(std::clamp(int(font.weight()), 100, 900));
        const uint8_t italic = font.italic() ? 1 : 0;
        const uint8_t underline = font.underline() ? 1 : 0;
        const uint8_t strike = font.strikeOut() ? 1 : 0;
        QByteArray key = face;
        key.append('|').append(QByteArray::number(height)).append('|').append(QByteArray::number(esc));
        key.append('|').append(QByteArray::number(weight)).append(char('0' + italic)).append(char('0' + underline)).append(char('0' + strike));
        m_objects.select(FontKind, key, [&]() -> char * {
            U_FONT *f = U_FONT_set(height, 0, esc, esc, weight, italic, underline, strike, U_ANSI_CHARSET,
                                   U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY,
                                   U_DEFAULT_PITCH | U_FF_DONTCARE, face.data());
            if (!f)
                return nullptr;
            char *rec = U_WMRCREATEFONTINDIRECT_set(f);
            std::free(f);
            return rec;
        });
    }

    void setFillMode(Qt::FillRule rule)
    {
        const uint16_t mode = rule == Qt::WindingFill ? U_WINDING : U_ALTERNATE;
        if (mode != m_fillMode) {
            m_stream.append(U_WMRSETPOLYFILLMODE_set(mode));
            m_fillMode = mode;
        }
    }

    static std::vector<U_POINT16> points16(const QPolygonF &poly, bool dropClosing)
    {
        int n = int(poly.size());
        if (dropClosing && n > 1 && poly.first() == poly.last())
            --n;
        n = std::min(n, 32000);
        std::vector<U_POINT16> pts(size_t(std::max(n, 0)));
        for (int i = 0; i < n; ++i)
            pts[size_t(i)] = point16(poly[i]);
        return pts;
    }

    void strokePolylines(const QList<QPolygonF> &polys)
    {
        if (!hasPen())
            return;
        if (m_extent.isNull())
            for (const QPolygonF &p : polys)
                m_extent |= p.boundingRect();
        selectPen();
        for (const QPolygonF &poly : polys) {
            const auto pts = points16(poly, false);
            if (pts.size() >= 2)
                m_stream.append(U_WMRPOLYLINE_set(uint16_t(pts.size()), pts.data()));
        }
    }

    void emitPolygons(const QList<QPolygonF> &closed)
    {
        if (closed.size() == 1) {
            const auto pts = points16(closed.first(), true);
            m_stream.append(U_WMRPOLYGON_set(uint16_t(pts.size()), pts.data()));
            return;
        }
        std::vector<uint16_t> counts;
        std::vector<U_POINT16> all;
        for (const QPolygonF &p : closed) {
            const auto pts = points16(p, true);
            if (all.size() + pts.size() > 30000 || counts.size() >= 4000)
                break;
            counts.push_back(uint16_t(pts.size()));
            all.insert(all.end(), pts.begin(), pts.end());
        }
        m_stream.append(U_WMRPOLYPOLYGON_set(uint16_t(counts.size()), counts.data(), all.data()));
    }

    // Subpaths become one polygon or a poly-polygon; open subpaths get their outline as polylines.
    void drawPolygons(const QList<QPolygonF> &polys, Qt::FillRule rule, bool fromPath)
    {
        if (polys.isEmpty())
            return;
        m_extent = QRectF();
        for (const QPolygonF &p : polys)
            m_extent |= p.boundingRect();
        bool fill = effectiveAlpha(m_brush) > 0.004;
        const bool pen = hasPen();
        if (!fill && !pen)
            return;
        bool allClosed = true;
        for (const QPolygonF &p : polys)
            if (p.size() > 1 && p.first() != p.last())
                allClosed = false;
        if (fromPath && !allClosed && !fill) {
            strokePolylines(polys);
            return;
        }
        QList<QPolygonF> closed;
        for (const QPolygonF &p : polys)
            if (p.size() >= 3)
                closed.append(p);
        if (fill && !closed.isEmpty() && fillGradient(closed, rule)) {
            fill = false;
            allClosed = false;                  // the outline follows on its own
        }
        const bool outlineInRecord = pen && allClosed;
        if (!closed.isEmpty() && (fill || outlineInRecord)) {
            if (fill)
                selectFill();
            else
                selectBrushNull();
            if (outlineInRecord)
                selectPen();
            else
                selectPenNull();
            setFillMode(rule);
            emitPolygons(closed);
        }
        if (pen && !outlineInRecord)
            strokePolylines(polys);
    }

    // Gradient space to device space for the painter's brush over a shape with these device bounds.
    QTransform gradientToDevice(const QGradient &g, const QRectF &deviceBounds) const
    {
        const QRectF user = m_transform.inverted().mapRect(deviceBounds);
        const QTransform box(user.width(), 0, 0, user.height(), user.x(), user.y());
        switch (g.coordinateMode()) {
        case QGradient::ObjectMode: return box * m_brush.transform() * m_transform;
        case QGradient::ObjectBoundingMode: return m_brush.transform() * box * m_transform;
        default: return m_brush.transform() * m_transform;
        }
    }

    static QColor gradientAt(const QGradient &g, double t)
    {
        const QGradientStops stops = g.stops();
        if (stops.isEmpty())
            return QColor(Qt::transparent);
        if (g.spread() == QGradient::RepeatSpread)
            t -= std::floor(t);
        else if (g.spread() == QGradient::ReflectSpread) {
            t = std::fmod(std::abs(t), 2.0);
            if (t > 1)
                t = 2 - t;
        }
        if (t <= stops.first().first)
            return stops.first().second;
        for (qsizetype i = 1; i < stops.size(); ++i) {
            if (t <= stops[i].first) {
                const auto &a = stops[i - 1], &b = stops[i];
                const double f = b.first > a.first ? (t - a.first) / (b.first - a.first) : 1.0;
                auto mix = [f](float x, float y) { return float(x + (y - x) * f); };
                return QColor::fromRgbF(mix(a.second.redF(), b.second.redF()), mix(a.second.greenF(), b.second.greenF()),
                                        mix(a.second.blueF(), b.second.blueF()), mix(a.second.alphaF(), b.second.alphaF()));
            }
        }
        return stops.last().second;
    }

    // Linear and radial gradients are filled as bands of solid colour: strips across the axis or
    // rings around the centre, each cut to the shape. False when the brush is no such gradient.
    bool fillGradient(const QList<QPolygonF> &closed, Qt::FillRule rule)
    {
        if (!banded())
            return false;
        const QGradient *g = m_brush.gradient();
        QPainterPath shape;
        shape.setFillRule(rule);
        for (const QPolygonF &p : closed)
            shape.addPolygon(p);
        const QRectF bounds = shape.boundingRect();
        const QTransform toDevice = gradientToDevice(*g, bounds);
        if (!toDevice.isInvertible())
            return false;
        const QRectF gBounds = toDevice.inverted().mapRect(bounds);
        // Far enough from the gradient's origin to get past every point of the shape.
        QPointF origin(0, 0);
        if (g->type() == QGradient::LinearGradient)
            origin = static_cast<const QLinearGradient *>(g)->start();
        else
            origin = static_cast<const QRadialGradient *>(g)->center();
        const QPointF off = gBounds.center() - origin;
        const double reach = std::hypot(gBounds.width(), gBounds.height()) + std::hypot(off.x(), off.y()) + 1.0;
        const int bands = std::clamp(int(std::max(bounds.width(), bounds.height()) / (m_upi / 10.0)), 4, 32);

        selectPenNull();
        for (int i = 0; i < bands; ++i) {
            const double t0 = double(i) / bands, t1 = double(i + 1) / bands;
            QPainterPath band;
            if (g->type() == QGradient::LinearGradient) {
                const auto *lg = static_cast<const QLinearGradient *>(g);
                const QPointF a = lg->start(), d = lg->finalStop() - lg->start();
                const double len = std::hypot(d.x(), d.y());
                if (len <= 0)
                    return false;
                const QPointF n(-d.y() / len * reach, d.x() / len * reach);
                // Each band runs half a band into the next, which is drawn over it: no seams between them.
                const double from = i == 0 ? -reach / len : t0, to = i == bands - 1 ? 1 + reach / len : t1 + 0.5 / bands;
                band.addPolygon(QPolygonF{a + d * from - n, a + d * to - n, a + d * to + n, a + d * from + n});
            } else {
                const auto *rg = static_cast<const QRadialGradient *>(g);
                const double r = rg->radius();
                if (r <= 0)
                    return false;
                const double outer = i == bands - 1 ? reach : r * (t1 + 0.5 / bands);
                band.addEllipse(rg->center(), outer, outer);
                if (i > 0)
                    band.addEllipse(rg->center(), r * t0, r * t0);
            }
            const QPainterPath piece = shape.intersected(toDevice.map(band));
            const QList<QPolygonF> polys = piece.toFillPolygons();
            QList<QPolygonF> parts;
            for (const QPolygonF &p : polys)
                if (p.size() >= 3)
                    parts.append(p);
            if (parts.isEmpty())
                continue;
            m_extent = piece.boundingRect();
            const QColor c = gradientAt(*g, (t0 + t1) / 2);
            if (c.alphaF() * m_opacity <= 0.004)
                continue;
            selectBrushColor(c);
            setFillMode(Qt::OddEvenFill);
            emitPolygons(parts);
        }
        m_extent = bounds;
        return true;
    }

    void appendDib(const QRectF &dst, const QImage &source)
    {
        const bool alpha = source.hasAlphaChannel();
        bool translucent = false;
        QImage img = source.convertToFormat(QImage::Format_ARGB32);
        if (alpha) {
            for (int y = 0; y < img.height() && !translucent; ++y) {
                const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
                for (int x = 0; x < img.width(); ++x)
                    if (qAlpha(line[x]) != 255) {
                        translucent = true;
                        break;
                    }
            }
        }
        const int w = img.width(), h = img.height();
        const int bits = translucent ? 32 : 24;
        const int stride = ((w * bits + 31) / 32) * 4;
        QByteArray px(qsizetype(stride) * h, '\0');
        for (int y = 0; y < h; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(h - 1 - y));
            auto *out = reinterpret_cast<uint8_t *>(px.data() + qsizetype(stride) * y);
            for (int x = 0; x < w; ++x) {
                const QRgb c = line[x];
                if (translucent) {
                    out[4 * x] = uint8_t(qBlue(c));
                    out[4 * x + 1] = uint8_t(qGreen(c));
                    out[4 * x + 2] = uint8_t(qRed(c));
                    out[4 * x + 3] = uint8_t(qAlpha(c));
                } else {
                    out[3 * x] = uint8_t(qBlue(c));
                    out[3 * x + 1] = uint8_t(qGreen(c));
                    out[3 * x + 2] = uint8_t(qRed(c));
                }
            }
        }
        const U_BITMAPINFOHEADER bmih = bitmapinfoheader_set(w, h, 1, uint16_t(bits), U_BI_RGB, uint32_t(px.size()), 0, 0, 0, 0);
        U_BITMAPINFO *bmi = bitmapinfo_set(bmih, nullptr);
        if (!bmi)
            return;
        const U_RECT16 r = rect16(dst);
        m_stream.append(U_WMRSTRETCHDIB_set(U_POINT16{r.left, r.top}, U_POINT16{int16_t(r.right - r.left), int16_t(r.bottom - r.top)},
                                            U_POINT16{0, 0}, U_POINT16{int16_t(w), int16_t(h)}, U_DIB_RGB_COLORS, U_SRCCOPY,
                                            bmi, uint32_t(px.size()), px.constData()));
        std::free(bmi);
    }

    // A clip becomes a saved DC with its bounding rectangle intersected; the saved DC ends with it.
    void updateClip(const QPaintEngineState &paintState)
    {
        closeClip();
        if (!paintState.isClipEnabled() || paintState.clipOperation() == Qt::NoClip)
            return;
        const QRectF box = painter() && painter()->hasClipping() ? m_transform.mapRect(painter()->clipBoundingRect()) : QRectF();
        if (box.isNull())
            return;
        m_saved = m_objects.selection();
        m_savedFillMode = m_fillMode;
        m_savedTextColor = m_textColor;
        m_savedTextColorSet = m_textColorSet;
        m_objects.pin(m_saved);
        m_stream.append(U_WMRSAVEDC_set());
        m_stream.append(U_WMRINTERSECTCLIPRECT_set(rect16(box)));
        if (m_mirrorPainter)
            m_mirrorPainter->setClipRect(QRectF(box.x() * m_k, box.y() * m_k, box.width() * m_k, box.height() * m_k));
        m_clipOpen = true;
    }

    void closeClip()
    {
        if (!m_clipOpen)
            return;
        m_stream.append(U_WMRRESTOREDC_set(-1));
        if (m_mirrorPainter)
            m_mirrorPainter->setClipping(false);
        m_objects.setSelection(m_saved);
        m_objects.pin({-1, -1, -1});
        m_fillMode = m_savedFillMode;
        m_textColor = m_savedTextColor;
        m_textColorSet = m_savedTextColorSet;
        m_clipOpen = false;
    }

    WmfStream &m_stream;
    ObjectCache m_objects;
    int m_upi;
    QPaintDevice *m_device = nullptr;
    QImage m_mirror;                          // what has been drawn, small
    std::unique_ptr<QPainter> m_mirrorPainter;
    double m_k = 1.0;                         // mirror pixels per unit
    QRectF m_extent;                          // device extent of the primitive being written
    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
    double m_opacity = 1.0;
    uint16_t m_fillMode = U_ALTERNATE;
    U_COLORREF m_textColor{};
    bool m_textColorSet = false;
    bool m_clipOpen = false;
    std::array<int, 3> m_saved{-1, -1, -1};
    uint16_t m_savedFillMode = U_ALTERNATE;
    U_COLORREF m_savedTextColor{};
    bool m_savedTextColorSet = false;
};

class WmfDevice : public QPaintDevice {
public:
    WmfDevice(const QSize &size, int unitsPerInch) : m_size(size), m_upi(unitsPerInch), m_stream(size, unitsPerInch), m_engine(m_stream, unitsPerInch) {}
    ~WmfDevice() override = default;

    QPaintEngine *paintEngine() const override { return const_cast<WmfEngine *>(&m_engine); }
    QByteArray finish() { return m_stream.finish(); }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmWidthMM: return int(std::lround(m_size.width() * 25.4 / m_upi));
        case PdmHeightMM: return int(std::lround(m_size.height() * 25.4 / m_upi));
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return m_upi;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    QSize m_size;
    int m_upi;
    WmfStream m_stream;
    WmfEngine m_engine;
};

} // namespace

QByteArray paintToWmf(const QSize &sizeUnits, const std::function<void(QPainter &)> &paint, int unitsPerInch)
{
    if (sizeUnits.isEmpty() || sizeUnits.width() > 32767 || sizeUnits.height() > 32767 || unitsPerInch <= 0
        || unitsPerInch > 65535)
        return {};
    WmfDevice device(sizeUnits, unitsPerInch);
    {
        QPainter painter(&device);
        if (!painter.isActive())
            return {};
        paint(painter);
    }
    return device.finish();
}

} // namespace terravale
