#include "wmfplayer.h"

#include "wmf.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <uwmf.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace terravale {
namespace wmf {
namespace {

constexpr int kMaxSavedStates = 1024;
constexpr int kMaxObjects = 65535;
constexpr double kMaxGlyphPixels = 1000.0;      // larger text is drawn at this size
constexpr int kMaxClipElements = 4000;
constexpr uint32_t kPatCopy = 0x00F00021, kBlackness = 0x00000042, kWhiteness = 0x00FF0062;
constexpr uint32_t kSrcAnd = 0x008800C6, kSrcPaint = 0x00EE0086;

// Device-context state: everything SaveDC keeps and RestoreDC brings back.
struct Dc {
    PenSpec pen;
    BrushSpec brush{U_BS_SOLID, Qt::white, 0, {}};
    FontSpec font;
    QColor text = Qt::black;
    QColor bk = Qt::white;
    int bkMode = U_OPAQUE;
    int align = U_TA_TOP | U_TA_LEFT;
    int fillMode = U_ALTERNATE;
    QPointF winOrg, winExt, vpOrg, vpExt;
    QPointF cur;
    bool clipped = false;
    QPainterPath clip;             // in the caller's coordinates
};

struct Other {};
using Object = std::variant<Other, PenSpec, BrushSpec, FontSpec>;

// Object table: a new object takes the lowest free slot; unsupported kinds take one too.
class ObjectTable {
public:
    void create(Object object)
    {
        int slot;
        if (!m_free.empty()) {
            slot = *m_free.begin();
            m_free.erase(m_free.begin());
        } else if (int(m_slots.size()) < kMaxObjects) {
            slot = int(m_slots.size());
            m_slots.emplace_back();
        } else {
            return;
        }
        m_slots[size_t(slot)] = std::move(object);
    }

    const Object *get(int index) const
    {
        if (index < 0 || index >= int(m_slots.size()) || !m_slots[size_t(index)])
            return nullptr;
        return &*m_slots[size_t(index)];
    }

    void remove(int index)
    {
        if (!get(index))
            return;
        m_slots[size_t(index)].reset();
        m_free.insert(index);
    }

private:
    std::vector<std::optional<Object>> m_slots;
    std::set<int> m_free;
};

double cellToEmRatio(const QString &face)
{
    static QHash<QString, double> cache;
    if (const auto it = cache.constFind(face); it != cache.constEnd())
        return *it;
    QFont probe(face);
    probe.setPixelSize(1000);
    const double h = QFontMetricsF(probe).height();
    const double ratio = h > 0 ? 1000.0 / h : 0.85;
    cache.insert(face, ratio);
    return ratio;
}

class Player {
public:
    Player(const Program &program, QPainter &painter, const QRectF &target)
        : m_program(program), m_p(painter), m_target(target)
    {
        const QRectF b = program.bounds;
        m_dc.winOrg = m_dc.vpOrg = b.topLeft();
        m_dc.winExt = m_dc.vpExt = QPointF(b.width(), b.height());
        m_map = mapping();
    }

    void run()
    {
        if (m_target.isEmpty() || !m_p.isActive())
            return;
        m_p.save();
        m_p.setClipRect(m_target, Qt::IntersectClip);
        m_p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        m_caller = m_p.worldTransform();
        m_dpiY = m_p.device() ? std::max(1, m_p.device()->logicalDpiY()) : 96;
        m_p.save();
        for (const Command &c : m_program.commands)
            std::visit([this](const auto &command) { exec(command); }, c);
        m_p.restore();
        m_p.restore();
    }

private:
    // Logical units to the caller's coordinates: window to viewport, viewport (in bounds units) to target.
    QTransform mapping() const
    {
        const QRectF b = m_program.bounds;
        const double kx = m_target.width() / b.width();
        const double ky = m_target.height() / b.height();
        const double sx = m_dc.vpExt.x() / m_dc.winExt.x();
        const double sy = m_dc.vpExt.y() / m_dc.winExt.y();
        const double dx = m_target.x() + (m_dc.vpOrg.x() - m_dc.winOrg.x() * sx - b.left()) * kx;
        const double dy = m_target.y() + (m_dc.vpOrg.y() - m_dc.winOrg.y() * sy - b.top()) * ky;
        return QTransform(sx * kx, 0, 0, sy * ky, dx, dy);
    }

    void mappingChanged()
    {
        m_map = mapping();
        m_transformDirty = m_penDirty = true;
    }

    void applyTransform()
    {
        if (m_transformDirty) {
            m_p.setWorldTransform(m_map * m_caller);
            m_transformDirty = false;
        }
    }

    double deviceScale() const { return std::sqrt(std::abs((m_map * m_caller).determinant())); }

    void applyPen()
    {
        if (!m_penDirty)
            return;
        m_penDirty = false;
        const PenSpec &s = m_dc.pen;
        const int kind = s.style & U_PS_STYLE_MASK;
        if (kind == U_PS_NULL) {
            m_p.setPen(Qt::NoPen);
            return;
        }
        QPen pen(s.color);
        const double scale = deviceScale();
        if (s.width * scale < 1.0) {
            pen.setWidth(0);             // at least one device pixel, as GDI draws thin pens
        } else {
            pen.setWidthF(s.width);
        }
        switch (kind) {
        case U_PS_DASH: pen.setStyle(Qt::DashLine); break;
        case U_PS_DOT:
        case U_PS_ALTERNATE:
        case U_PS_USERSTYLE: pen.setStyle(Qt::DotLine); break;
        case U_PS_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
        case U_PS_DASHDOTDOT: pen.setStyle(Qt::DashDotDotLine); break;
        default: break;
        }
        switch (s.style & U_PS_ENDCAP_MASK) {
        case U_PS_ENDCAP_SQUARE: pen.setCapStyle(Qt::SquareCap); break;
        case U_PS_ENDCAP_FLAT: pen.setCapStyle(Qt::FlatCap); break;
        default: pen.setCapStyle(Qt::RoundCap); break;
        }
        switch (s.style & U_PS_JOIN_MASK) {
        case U_PS_JOIN_BEVEL: pen.setJoinStyle(Qt::BevelJoin); break;
        case U_PS_JOIN_MITER: pen.setJoinStyle(Qt::MiterJoin); break;
        default: pen.setJoinStyle(Qt::RoundJoin); break;
        }
        m_p.setPen(pen);
    }

    QBrush brush() const
    {
        const BrushSpec &b = m_dc.brush;
        switch (b.style) {
        case U_BS_NULL: return Qt::NoBrush;
        case U_BS_HATCHED: {
            static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                     Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
            return QBrush(b.color, b.hatch < 6 ? hatches[b.hatch] : Qt::SolidPattern);
        }
        default:
            if (!b.pattern.isNull())
                return QBrush(b.pattern);
            return QBrush(b.color);
        }
    }

    void applyBrush()
    {
        if (m_brushDirty) {
            m_p.setBrush(brush());
            m_brushDirty = false;
        }
    }

    void prepare(bool fill = true)
    {
        applyTransform();
        applyPen();
        if (fill) {
            applyBrush();
        } else {
            m_p.setBrush(Qt::NoBrush);
            m_brushDirty = true;
        }
    }

    Qt::FillRule fillRule() const { return m_dc.fillMode == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill; }

    void applyClip()
    {
        m_p.restore();
        m_p.save();
        if (m_dc.clipped) {
            m_p.setWorldTransform(m_caller);
            m_p.setClipPath(m_dc.clip, Qt::IntersectClip);
        }
        m_transformDirty = m_penDirty = m_brushDirty = true;
    }

    void select(const Object &o)
    {
        if (const auto *pen = std::get_if<PenSpec>(&o)) {
            m_dc.pen = *pen;
            m_penDirty = true;
        } else if (const auto *b = std::get_if<BrushSpec>(&o)) {
            m_dc.brush = *b;
            m_brushDirty = true;
        } else if (const auto *f = std::get_if<FontSpec>(&o)) {
            m_dc.font = *f;
        }
    }

    QFont font(double *emOut) const
    {
        const FontSpec &f = m_dc.font;
        const QString face = f.face.isEmpty() ? QStringLiteral("Arial") : f.face;
        QFont font(face);
        double em;
        if (f.height < 0)
            em = -double(f.height);
        else if (f.height > 0)
            em = f.height * cellToEmRatio(face);
        else
            em = m_program.unitsPerInch / 6.0 * std::abs(m_dc.winExt.y() / m_dc.vpExt.y());   // 12 points
        const double scaleY = std::abs((m_map * m_caller).m22()) + std::abs((m_map * m_caller).m21());
        if (scaleY > 0 && em * scaleY > kMaxGlyphPixels)
            em = kMaxGlyphPixels / scaleY;
        font.setPointSizeF(std::max(em, 0.01) * 72.0 / m_dpiY);
        font.setWeight(QFont::Weight(std::clamp(f.weight <= 0 ? 400 : f.weight, 100, 900)));
        font.setItalic(f.italic);
        font.setUnderline(f.underline);
        font.setStrikeOut(f.strikeOut);
        *emOut = em * scaleY;
        return font;
    }

    void exec(const cmd::CreatePen &c) { m_objects.create(c.pen); }
    void exec(const cmd::CreateBrush &c) { m_objects.create(c.brush); }
    void exec(const cmd::CreateFont &c) { m_objects.create(c.font); }
    void exec(const cmd::CreateOther &) { m_objects.create(Other{}); }

    void exec(const cmd::SelectObject &c)
    {
        if (const Object *o = m_objects.get(c.index))
            select(*o);
    }

    void exec(const cmd::DeleteObject &c) { m_objects.remove(c.index); }

    void exec(const cmd::SaveDc &)
    {
        if (int(m_saved.size()) < kMaxSavedStates)
            m_saved.push_back(m_dc);
    }

    void exec(const cmd::RestoreDc &c)
    {
        const int n = int(m_saved.size());
        int index;
        if (c.which < 0)
            index = n + c.which;          // -1: the state saved last
        else if (c.which > 0)
            index = c.which - 1;          // 1: the state saved first
        else
            return;
        if (index < 0 || index >= n)
            return;                       // nothing saved that far back: ignored
        const bool clipChanged = m_saved[size_t(index)].clipped || m_dc.clipped;
        m_dc = m_saved[size_t(index)];
        m_saved.resize(size_t(index));
        m_brushDirty = m_penDirty = true;
        mappingChanged();
        if (clipChanged)
            applyClip();
    }

    void exec(const cmd::SetMapping &c)
    {
        const QPointF v(c.value);
        switch (c.what) {
        case cmd::Mapping::WindowOrg: m_dc.winOrg = v; break;
        case cmd::Mapping::ViewportOrg: m_dc.vpOrg = v; break;
        case cmd::Mapping::OffsetWindowOrg: m_dc.winOrg += v; break;
        case cmd::Mapping::OffsetViewportOrg: m_dc.vpOrg += v; break;
        case cmd::Mapping::WindowExt:
            if (v.x() == 0 || v.y() == 0)
                return;
            m_dc.winExt = v;
            break;
        case cmd::Mapping::ViewportExt:
            if (v.x() == 0 || v.y() == 0)
                return;
            m_dc.vpExt = v;
            break;
        }
        mappingChanged();
    }

    void exec(const cmd::ScaleExt &c)
    {
        if (c.xDenom == 0 || c.yDenom == 0 || c.xNum == 0 || c.yNum == 0)
            return;
        QPointF &ext = c.viewport ? m_dc.vpExt : m_dc.winExt;
        ext = QPointF(ext.x() * c.xNum / c.xDenom, ext.y() * c.yNum / c.yDenom);
        mappingChanged();
    }

    void exec(const cmd::SetAttr &c)
    {
        switch (c.what) {
        case cmd::Attr::BkMode: m_dc.bkMode = c.value; break;
        case cmd::Attr::TextAlign: m_dc.align = c.value; break;
        case cmd::Attr::PolyFillMode: m_dc.fillMode = c.value; break;
        case cmd::Attr::MapMode: break;
        }
    }

    void exec(const cmd::SetTextColor &c) { m_dc.text = c.color; }
    void exec(const cmd::SetBkColor &c) { m_dc.bk = c.color; }
    void exec(const cmd::MoveTo &c) { m_dc.cur = c.p; }

    void exec(const cmd::LineTo &c)
    {
        prepare(false);
        m_p.drawLine(m_dc.cur, QPointF(c.p));
        m_dc.cur = c.p;
    }

    void exec(const cmd::Rectangle &c)
    {
        prepare();
        m_p.drawRect(c.r.rect());
    }

    void exec(const cmd::RoundRect &c)
    {
        prepare();
        m_p.drawRoundedRect(c.r.rect(), std::abs(c.width) / 2.0, std::abs(c.height) / 2.0);
    }

    void exec(const cmd::Ellipse &c)
    {
        prepare();
        m_p.drawEllipse(c.r.rect());
    }

    void exec(const cmd::Arc &c)
    {
        const QRectF r = c.r.rect();
        if (r.width() <= 0 || r.height() <= 0)
            return;
        const QPointF centre = r.center();
        auto angle = [&](const QPoint &p) {
            return std::atan2(-(p.y() - centre.y()) / (r.height() / 2), (p.x() - centre.x()) / (r.width() / 2)) * 180.0 / M_PI;
        };
        const double start = angle(c.start);
        double sweep = angle(c.end) - start;
        while (sweep <= 0)
            sweep += 360.0;
        QPainterPath path;
        if (c.kind == cmd::ArcKind::Pie) {
            path.moveTo(centre);
            path.arcTo(r, start, sweep);
            path.closeSubpath();
        } else {
            path.arcMoveTo(r, start);
            path.arcTo(r, start, sweep);
            if (c.kind == cmd::ArcKind::Chord)
                path.closeSubpath();
        }
        prepare(c.kind != cmd::ArcKind::Arc);
        m_p.drawPath(path);
    }

    void exec(const cmd::Polygon &c)
    {
        if (c.points.size() < 2)
            return;
        prepare();
        m_p.drawPolygon(c.points, fillRule());
    }

    void exec(const cmd::Polyline &c)
    {
        if (c.points.size() < 2)
            return;
        prepare(false);
        m_p.drawPolyline(c.points);
    }

    void exec(const cmd::PolyPolygon &c)
    {
        QPainterPath path;
        path.setFillRule(fillRule());
        for (const QPolygon &poly : c.polygons) {
            if (poly.size() < 2)
                continue;
            path.addPolygon(QPolygonF(poly));
            path.closeSubpath();
        }
        if (path.isEmpty())
            return;
        prepare();
        m_p.drawPath(path);
    }

    void exec(const cmd::Text &c)
    {
        applyTransform();
        if (c.options & U_ETO_OPAQUE)
            m_p.fillRect(c.clip.rect(), m_dc.bk);
        if (c.text.isEmpty())
            return;
        double deviceEm = 0;
        const QFont f = font(&deviceEm);
        if (deviceEm < 0.5)
            return;                                    // too small to see
        const QFontMetricsF fm(f, m_p.device());
        const double measured = fm.horizontalAdvance(c.text);
        double width = measured;
        if (!c.dx.empty()) {
            width = 0;
            for (int d : c.dx)
                width += d;
        }
        const bool updateCp = m_dc.align & U_TA_UPDATECP;
        const QPointF origin = updateCp ? m_dc.cur : QPointF(c.at);
        double x0 = 0;
        if ((m_dc.align & U_TA_CENTER) == U_TA_CENTER)
            x0 = -width / 2;
        else if (m_dc.align & U_TA_RIGHT)
            x0 = -width;
        double y0 = fm.ascent();
        if ((m_dc.align & U_TA_BASELINE) == U_TA_BASELINE)
            y0 = 0;
        else if (m_dc.align & U_TA_BOTTOM)
            y0 = -fm.descent();
        if (updateCp) {                                // the current position moves past the text
            if (x0 == 0)
                m_dc.cur.rx() += width;
            else if (x0 == -width)
                m_dc.cur.rx() -= width;
        }

        // Text stays upright whichever way the mapping turns the axes.
        QTransform local;
        local.translate(origin.x(), origin.y());
        local.scale(m_map.m11() < 0 ? -1 : 1, m_map.m22() < 0 ? -1 : 1);
        if (m_dc.font.escapement)
            local.rotate(-m_dc.font.escapement / 10.0);
        m_p.setWorldTransform(local * m_map * m_caller);
        m_transformDirty = true;
        const bool clipped = c.options & U_ETO_CLIPPED;
        if (clipped) {
            m_p.save();
            m_p.setClipRect(local.inverted().mapRect(c.clip.rect()), Qt::IntersectClip);
        }
        if (m_dc.bkMode == U_OPAQUE)
            m_p.fillRect(QRectF(x0, y0 - fm.ascent(), width, fm.ascent() + fm.descent()), m_dc.bk);
        // Advances given by the record win over the installed font's own widths.
        if (!c.dx.empty() && measured > 0 && std::abs(width - measured) > 0.02 * width) {
            m_p.translate(x0, 0);
            m_p.scale(width / measured, 1);
            x0 = 0;
        }
        m_p.setPen(m_dc.text);
        m_penDirty = true;
        m_p.setFont(f);
        m_p.drawText(QPointF(x0, y0), c.text);
        if (clipped)
            m_p.restore();
    }

    void fillWithRop(const QRectF &r, uint32_t rop)
    {
        applyTransform();
        if (rop == kBlackness)
            m_p.fillRect(r, Qt::black);
        else if (rop == kWhiteness)
            m_p.fillRect(r, Qt::white);
        else if (rop == kPatCopy)
            m_p.fillRect(r, brush());
    }

    void exec(const cmd::PatBlt &c) { fillWithRop(c.r.rect(), c.rop); }

    void exec(const cmd::Bitmap &c)
    {
        if (c.image.isNull()) {
            fillWithRop(c.dst.rect(), c.rop);
            return;
        }
        applyTransform();
        const bool mirrorX = c.dst.right < c.dst.left, mirrorY = c.dst.bottom < c.dst.top;
        const QRectF dst = c.dst.rect();
        if (dst.isEmpty())
            return;
        QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
        const bool blends = m_p.paintEngine() && m_p.paintEngine()->hasFeature(QPaintEngine::BlendModes);
        if (c.rop == kSrcAnd && blends)
            mode = QPainter::CompositionMode_Multiply;
        else if (c.rop == kSrcPaint && blends)
            mode = QPainter::CompositionMode_Lighten;
        if (mode != QPainter::CompositionMode_SourceOver)
            m_p.setCompositionMode(mode);
        if (mirrorX || mirrorY)
            m_p.drawImage(dst, c.image.copy(c.src).mirrored(mirrorX, mirrorY));
        else
            m_p.drawImage(dst, c.image, c.src);
        if (mode != QPainter::CompositionMode_SourceOver)
            m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    void exec(const cmd::SetPixel &c)
    {
        applyTransform();
        m_p.fillRect(QRectF(QPointF(c.p), QSizeF(1, 1)), c.color);
    }

    void exec(const cmd::ClipRect &c)
    {
        // A clip cut into thousands of pieces costs more to build than it can show.
        if (c.exclude && m_dc.clip.elementCount() > kMaxClipElements)
            return;
        QPainterPath r;
        r.addRect(m_map.mapRect(c.r.rect()));
        QPainterPath base;
        if (m_dc.clipped) {
            base = m_dc.clip;
        } else {
            base.addRect(m_target);
        }
        m_dc.clip = c.exclude ? base.subtracted(r) : base.intersected(r);
        m_dc.clipped = true;
        applyClip();
    }

    const Program &m_program;
    QPainter &m_p;
    QRectF m_target;
    QTransform m_caller;
    QTransform m_map;
    int m_dpiY = 96;
    Dc m_dc;
    std::vector<Dc> m_saved;
    ObjectTable m_objects;
    bool m_transformDirty = true, m_penDirty = true, m_brushDirty = true;
};

} // namespace

void play(const Program &program, QPainter &painter, const QRectF &target)
{
    Player player(program, painter, target);
    player.run();
}

} // namespace wmf

QSize WmfPicture::sizePixels() const
{
    const double k = 96.0 / m_program.unitsPerInch;
    return QSize(int(std::lround(m_program.bounds.width() * k)), int(std::lround(m_program.bounds.height() * k)));
}

QSizeF WmfPicture::sizeTwips() const
{
    const double k = 1440.0 / m_program.unitsPerInch;
    return QSizeF(m_program.bounds.width() * k, m_program.bounds.height() * k);
}

void WmfPicture::paint(QPainter &painter, const QRectF &target) const
{
    wmf::play(m_program, painter, target);
}

PictureHandle readWmf(const QByteArray &data)
{
    std::optional<wmf::Program> program = wmf::parseProgram(data);
    if (!program)
        return nullptr;
    return std::make_shared<WmfPicture>(std::move(*program));
}

} // namespace terravale
