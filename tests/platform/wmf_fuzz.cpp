// Plays mutated metafiles (bit flips, truncations, size-field edits, spliced records) with a fixed
// seed. Built with AddressSanitizer: any out-of-bounds read or write ends the run with a report.
// Usage: wmf_fuzz [inputs] [seed]
#include "platform/fonts.h"
#include "pagemaker/wmfwriter.h"
#include "platform/wmf.h"
#include "platform/wmfplayer.h"
#include "wmfbuilder.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <random>

using namespace terravale;
using test::WmfBuilder;

namespace {

QByteArray smallDib(int bits)
{
    const int w = 5, h = 3, colors = bits <= 8 ? (1 << bits) : 0;
    const int stride = ((w * bits + 31) / 32) * 4;
    QByteArray d(40, '\0');
    qToLittleEndian<uint32_t>(40, d.data());
    qToLittleEndian<int32_t>(w, d.data() + 4);
    qToLittleEndian<int32_t>(bits == 24 ? -h : h, d.data() + 8);
    qToLittleEndian<uint16_t>(1, d.data() + 12);
    qToLittleEndian<uint16_t>(uint16_t(bits), d.data() + 14);
    qToLittleEndian<uint32_t>(uint32_t(colors), d.data() + 32);
    for (int i = 0; i < colors; ++i)
        d.append(char(i * 37), 1).append(char(i * 91), 1).append(char(255 - i), 1).append('\0');
    for (int i = 0; i < stride * h; ++i)
        d.append(char(i * 29 + 7));
    return d;
}

QByteArray pngDib()
{
    QImage img(5, 3, QImage::Format_ARGB32);
    img.fill(qRgba(30, 160, 90, 200));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    QByteArray d(40, '\0');
    qToLittleEndian<uint32_t>(40, d.data());
    qToLittleEndian<int32_t>(5, d.data() + 4);
    qToLittleEndian<int32_t>(3, d.data() + 8);
    qToLittleEndian<uint16_t>(1, d.data() + 12);
    qToLittleEndian<uint32_t>(5, d.data() + 16);
    qToLittleEndian<uint32_t>(uint32_t(png.size()), d.data() + 20);
    return d + png;
}

// StretchDIB, DIBStretchBlt, DIBBitBlt and SetDIBToDev records around one bitmap.
QByteArray bitmapRecords(const QByteArray &dib)
{
    QByteArray out;
    auto withDib = [&](QByteArray r) {
        r.append(dib);
        if (r.size() % 2)
            r.append('\0');
        qToLittleEndian<uint32_t>(uint32_t(r.size() / 2), r.data());
        out.append(r);
    };
    withDib(WmfBuilder::rawRecord(0x0F43, {0x0020, 0x00CC, 0, 3, 5, 0, 0, 30, 40, 5, 5}));
    withDib(WmfBuilder::rawRecord(0x0B41, {0x0020, 0x00CC, 3, 5, 0, 0, 20, 20, 50, 50}));
    withDib(WmfBuilder::rawRecord(0x0940, {0x00C6, 0x0088, 0, 0, 3, 5, 60, 10}));
    withDib(WmfBuilder::rawRecord(0x0D33, {0, 3, 0, 0, 0, 3, 5, 70, 70}));
    return out;
}

// A stream with every kind of record the player reads.
QByteArray everyRecord()
{
    WmfBuilder b(100, 80, 96);
    const U_RECT16 box{10, 10, 60, 50};
    b.record(0x00F7, {0x0300, 1, 0, 0}).record(0x06FF, {0, 6, 0, 20, 1, 1, 0, 0, 10, 10});
    b.pen(Qt::red, 3).add(U_WMRCREATEPENINDIRECT_set(U_PEN_set(U_PS_DASHDOT | U_PS_ENDCAP_FLAT | U_PS_JOIN_MITER, 0, WmfBuilder::ref(Qt::blue))));
    b.add(U_WMRCREATEBRUSHINDIRECT_set(U_WLOGBRUSH_set(U_BS_HATCHED, WmfBuilder::ref(Qt::green), U_HS_DIAGCROSS)));
    b.brush(QColor(200, 100, 50));
    b.font(-12, "Tahoma", 700, true).font(14, "Times New Roman");
    QByteArray pattern = WmfBuilder::rawRecord(0x0142, {U_BS_DIBPATTERNPT, 0});
    pattern.append(smallDib(8));
    qToLittleEndian<uint32_t>(uint32_t(pattern.size() / 2), pattern.data());
    b.raw(pattern);
    b.select(2).select(5).select(6).select(8);
    b.add(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC)).add(U_WMRSETWINDOWORG_set(U_POINT16{0, 0}));
    b.add(U_WMRSETWINDOWEXT_set(U_POINT16{100, 80})).record(0x020E, {80, 100}).record(0x020D, {0, 0});
    b.record(0x0410, {1, 1, 1, 1}).record(0x0412, {2, 2, 2, 2}).record(0x020F, {1, 1}).record(0x0211, {0, 0});
    b.add(U_WMRSETBKCOLOR_set(WmfBuilder::ref(Qt::yellow))).add(U_WMRSETBKMODE_set(U_OPAQUE));
    b.add(U_WMRSETTEXTCOLOR_set(WmfBuilder::ref(Qt::darkRed))).add(U_WMRSETPOLYFILLMODE_set(U_WINDING));
    b.add(U_WMRSAVEDC_set()).add(U_WMRINTERSECTCLIPRECT_set(U_RECT16{0, 0, 90, 70}));
    b.add(U_WMREXCLUDECLIPRECT_set(U_RECT16{40, 40, 45, 45}));
    b.add(U_WMRRECTANGLE_set(box)).add(U_WMRROUNDRECT_set(8, 6, box)).add(U_WMRELLIPSE_set(box));
    b.add(U_WMRARC_set(U_POINT16{60, 30}, U_POINT16{10, 30}, box)).add(U_WMRPIE_set(U_POINT16{35, 10}, U_POINT16{60, 30}, box));
    b.add(U_WMRCHORD_set(U_POINT16{10, 30}, U_POINT16{35, 50}, box));
    const U_POINT16 pts[5] = {{5, 5}, {50, 8}, {70, 60}, {20, 70}, {5, 40}};
    b.add(U_WMRPOLYGON_set(5, pts)).add(U_WMRPOLYLINE_set(5, pts));
    const uint16_t counts[2] = {3, 2};
    b.add(U_WMRPOLYPOLYGON_set(2, counts, pts));
    b.add(U_WMRMOVETO_set(U_POINT16{1, 1})).add(U_WMRLINETO_set(U_POINT16{90, 70}));
    b.add(U_WMRSELECTOBJECT_set(7)).add(U_WMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_CENTER | U_TA_UPDATECP));
    b.add(U_WMRTEXTOUT_set(U_POINT16{20, 30}, const_cast<char *>("Caf\xe9 text")));
    int16_t dx[4] = {6, 6, 6, 6};
    b.add(U_WMREXTTEXTOUT_set(U_POINT16{30, 60}, 4, U_ETO_OPAQUE | U_ETO_CLIPPED, "abcd", dx, U_RECT16{25, 50, 60, 65}));
    b.add(U_WMRSELECTOBJECT_set(6)).add(U_WMRSETTEXTALIGN_set(U_TA_BOTTOM | U_TA_RIGHT));
    b.add(U_WMREXTTEXTOUT_set(U_POINT16{90, 75}, 3, 0, "xyz", nullptr, U_RECT16{0, 0, 0, 0}));
    b.add(U_WMRRESTOREDC_set(-1));
    b.add(U_WMRPATBLT_set(U_POINT16{70, 5}, U_POINT16{20, 10}, 0x00F00021));
    b.add(U_WMRSETPIXEL_set(WmfBuilder::ref(Qt::black), U_POINT16{3, 3}));
    b.raw(bitmapRecords(smallDib(1))).raw(bitmapRecords(smallDib(4))).raw(bitmapRecords(smallDib(24)));
    b.raw(bitmapRecords(smallDib(32))).raw(bitmapRecords(pngDib()));
    b.record(0x0626, {15, 2, 0}).record(0x0077, {1, 2});
    b.add(U_WMRDELETEOBJECT_set(4)).add(U_WMRSELECTOBJECT_set(4)).add(U_WMRRESTOREDC_set(3));
    return b.bytes();
}

QByteArray writtenPage()
{
    return paintToWmf(QSize(3000, 2000), [](QPainter &p) {
        p.fillRect(QRect(0, 0, 3000, 2000), QColor(240, 240, 220));
        QFont f(u"Arial"_qs);
        f.setPointSize(10);
        p.setFont(f);
        p.drawText(QPointF(100, 300), u"Recycling saves energy – “really”."_qs);
        p.setPen(QPen(Qt::blue, 20, Qt::DashLine));
        p.setBrush(Qt::yellow);
        p.drawRect(100, 500, 800, 600);
        QPainterPath ring;
        ring.addEllipse(QRectF(1000, 500, 800, 800));
        ring.addEllipse(QRectF(1200, 700, 400, 400));
        p.drawPath(ring);
        QImage img(12, 8, QImage::Format_ARGB32);
        img.fill(qRgba(200, 30, 30, 180));
        p.drawImage(QRectF(2000, 500, 800, 500), img);
        QLinearGradient sky(0, 0, 0, 400);
        sky.setColorAt(0, Qt::blue);
        sky.setColorAt(1, QColor(200, 230, 255, 120));
        p.setBrush(sky);
        p.drawRoundedRect(QRect(1900, 1200, 1000, 700), 100, 100);
        p.save();
        p.setClipRect(QRect(100, 1200, 1000, 300));
        p.drawEllipse(QRect(100, 1200, 1000, 700));
        p.restore();
    });
}

// Offsets of the records after the headers (for size edits and splicing).
std::vector<int> recordOffsets(const QByteArray &wmf)
{
    std::vector<int> offsets;
    int pos = 22 + 18;
    while (pos + 6 <= wmf.size()) {
        offsets.push_back(pos);
        const qint64 words = qFromLittleEndian<uint32_t>(wmf.constData() + pos);
        if (words < 3 || pos + 2 * words > wmf.size())
            break;
        pos += int(2 * words);
    }
    return offsets;
}

class Mutator {
public:
    explicit Mutator(uint32_t seed) : m_rng(seed) {}

    QByteArray mutate(const std::vector<QByteArray> &seeds)
    {
        QByteArray data = seeds[pick(seeds.size())];
        const int steps = 1 + int(pick(3));
        for (int i = 0; i < steps; ++i) {
            switch (pick(5)) {
            case 0: flipBits(data); break;
            case 1: truncate(data); break;
            case 2: editSize(data); break;
            case 3: splice(data, seeds[pick(seeds.size())]); break;
            default: overwriteWord(data); break;
            }
        }
        return data;
    }

private:
    size_t pick(size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(m_rng) : 0; }

    void flipBits(QByteArray &d)
    {
        const int n = 1 + int(pick(8));
        for (int i = 0; i < n && !d.isEmpty(); ++i)
            d[qsizetype(pick(size_t(d.size())))] ^= char(1 << pick(8));
    }

    void truncate(QByteArray &d) { d.truncate(qsizetype(pick(size_t(d.size()) + 1))); }

    void editSize(QByteArray &d)
    {
        const auto offsets = recordOffsets(d);
        if (offsets.empty())
            return;
        const int at = offsets[pick(offsets.size())];
        const uint32_t old = qFromLittleEndian<uint32_t>(d.constData() + at);
        static const uint32_t values[] = {0, 1, 2, 3, 0x7FFF, 0xFFFF, 0x10000, 0x7FFFFFFF, 0xFFFFFFFF};
        uint32_t v;
        switch (pick(3)) {
        case 0: v = values[pick(std::size(values))]; break;
        case 1: v = old + uint32_t(int(pick(9)) - 4); break;
        default: v = uint32_t(pick(4096)); break;
        }
        qToLittleEndian<uint32_t>(v, d.data() + at);
    }

    void splice(QByteArray &d, const QByteArray &other)
    {
        const auto from = recordOffsets(other);
        const auto to = recordOffsets(d);
        if (from.empty() || to.empty())
            return;
        const int start = from[pick(from.size())];
        const int words = int(std::min<qint64>(qFromLittleEndian<uint32_t>(other.constData() + start), 4096));
        const QByteArray piece = other.mid(start, std::max(6, 2 * words));
        const int at = to[pick(to.size())];
        if (pick(4) == 0)
            d.remove(at, std::min<qsizetype>(2 * qFromLittleEndian<uint32_t>(d.constData() + at), d.size() - at));
        else
            d.insert(at, piece);
    }

    void overwriteWord(QByteArray &d)
    {
        if (d.size() < 2)
            return;
        static const uint16_t values[] = {0, 1, 2, 0x7FFF, 0x8000, 0xFFFF, 0xFFFE, 40, 12};
        const qsizetype at = qsizetype(pick(size_t(d.size() / 2))) * 2;
        qToLittleEndian<uint16_t>(pick(2) ? values[pick(std::size(values))] : uint16_t(pick(65536)), d.data() + at);
    }

    std::mt19937 m_rng;
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    registerFonts();
    const long inputs = argc > 1 ? std::atol(argv[1]) : 100000;
    const uint32_t seed = argc > 2 ? uint32_t(std::atol(argv[2])) : 20261208u;

    const std::vector<QByteArray> seeds = {writtenPage(), everyRecord()};
    for (const QByteArray &s : seeds) {
        if (!readWmf(s)) {
            std::fprintf(stderr, "wmf_fuzz: a seed metafile does not read\n");
            return 1;
        }
    }
    Mutator mutator(seed);
    QImage canvas(40, 30, QImage::Format_ARGB32_Premultiplied);
    long played = 0, rejected = 0, damaged = 0;
    QElapsedTimer timer;
    timer.start();
    for (long i = 0; i < inputs; ++i) {
        const QByteArray input = mutator.mutate(seeds);
        const PictureHandle picture = readWmf(input);
        if (!picture) {
            ++rejected;
            continue;
        }
        if (const auto *wmf = dynamic_cast<const WmfPicture *>(picture.get()); wmf && wmf->program().damaged)
            ++damaged;
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        picture->paint(p, i % 7 == 0 ? QRectF(-5, 3, 60, 20) : QRectF(canvas.rect()));
        ++played;
    }
    std::printf("wmf_fuzz: %ld inputs (seed %u): %ld played (%ld stopped at damage), %ld rejected, no faults, %.1f s\n",
                inputs, seed, played, damaged, rejected, timer.elapsed() / 1000.0);
    return 0;
}
