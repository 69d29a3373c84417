// Metafile player: damaged record streams, device-context state, mapping, text, bitmaps, loading.
#include "platform/filechannel.h"
#include "platform/fonts.h"
#include "platform/picture.h"
#include "pagemaker/wmfwriter.h"
#include "platform/wmf.h"
#include "platform/wmfplayer.h"
#include "testsupport.h"
#include "wmfbuilder.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QTest>
#include <QTextItem>

using namespace terravale;
using test::WmfBuilder;

namespace {

const QColor kGround(128, 128, 128);   // the image under the picture: where nothing was drawn

QImage render(const QByteArray &wmf, const QRectF &target = QRectF(0, 0, 100, 100))
{
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(kGround);
    PictureHandle pic = readWmf(wmf);
    if (!pic)
        return {};
    QPainter p(&img);
    pic->paint(p, target);
    return img;
}

// Pen 0 none, brushes 1 red, 2 blue, 3 green; pen 0 selected.
WmfBuilder palette()
{
    WmfBuilder b;
    b.nullPen().brush(Qt::red).brush(Qt::blue).brush(Qt::green).select(0);
    return b;
}

QByteArray dibHeader(int w, int h, int bits, int colors = 0)
{
    QByteArray d(40, '\0');
    qToLittleEndian<uint32_t>(40, d.data());
    qToLittleEndian<int32_t>(w, d.data() + 4);
    qToLittleEndian<int32_t>(h, d.data() + 8);
    qToLittleEndian<uint16_t>(1, d.data() + 12);
    qToLittleEndian<uint16_t>(uint16_t(bits), d.data() + 14);
    qToLittleEndian<uint32_t>(uint32_t(colors), d.data() + 32);
    return d;
}

// A StretchDIB record drawing the whole bitmap over (l, t, w, h).
QByteArray stretchDib(const QByteArray &dib, int l, int t, int w, int h, int srcW, int srcH)
{
    QByteArray r = WmfBuilder::rawRecord(0x0F43, {0x0020, 0x00CC, 0, srcH, srcW, 0, 0, h, w, t, l});
    r.append(dib);
    if (r.size() % 2)
        r.append('\0');
    qToLittleEndian<uint32_t>(uint32_t(r.size() / 2), r.data());
    return r;
}

QByteArray quad(const QColor &c)
{
    const char b[4] = {char(c.blue()), char(c.green()), char(c.red()), 0};
    return QByteArray(b, 4);
}

// Records the text QPainter is asked to draw, with where it lands on the device.
struct DrawnText {
    QString text, family;
    double em = 0;          // device pixels
    QPointF at;             // device pixels
    int weight = 0;
    bool italic = false;
};

class TextRecorder : public QPaintDevice {
    class Engine : public QPaintEngine {
    public:
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        Type type() const override { return User; }
        void updateState(const QPaintEngineState &s) override
        {
            if (s.state() & DirtyTransform)
                transform = s.transform();
        }
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF &p, const QTextItem &ti) override
        {
            const QFont f = ti.font();
            const double px = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * 96.0 / 72.0;
            drawn.push_back({ti.text(), f.family(), px * std::hypot(transform.m21(), transform.m22()), transform.map(p),
                             f.weight(), f.italic()});
        }
        QTransform transform;
        std::vector<DrawnText> drawn;
    };

public:
    QPaintEngine *paintEngine() const override { return &m_engine; }
    const std::vector<DrawnText> &drawn() const { return m_engine.drawn; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
        case PdmHeight: return 200;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        case PdmWidthMM:
        case PdmHeightMM: return 53;
        default: return 0;
        }
    }

private:
    mutable Engine m_engine;
};

} // namespace

class WmfPlayerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerFonts(); }
    void damagedStreams_data();
    void damagedStreams();
    void rejectsBadHeader_data();
    void rejectsBadHeader();
    void saveRestore_data();
    void saveRestore();
    void restoreBringsBackMappingAndClip();
    void mapping_data();
    void mapping();
    void unsupportedObjectsTakeSlots();
    void shapes_data();
    void shapes();
    void bitmaps_data();
    void bitmaps();
    void text_data();
    void text();
    void ownSize();
    void picturesLoadMetafiles();
};

void WmfPlayerTest::damagedStreams_data()
{
    QTest::addColumn<QByteArray>("damage");
    QTest::addColumn<bool>("selectBlue");   // the drawing after the damage selects blue first
    QTest::addColumn<int>("cutBytes");      // bytes cut from the end of the file
    QTest::addColumn<QColor>("after");      // colour of the drawing after the damage

    const QColor stopped = kGround;
    QTest::newRow("zero record size") << WmfBuilder::rawRecord(0x041B, {0, 0, 9, 9}, 0) << true << 0 << stopped;
    QTest::newRow("size below a record header") << WmfBuilder::rawRecord(0x041B, {0, 0, 9, 9}, 2) << true << 0 << stopped;
    QTest::newRow("size past the end of the file") << WmfBuilder::rawRecord(0x041B, {0, 0, 9, 9}, 60000) << true << 0 << stopped;
    QTest::newRow("rectangle too short for its fields") << WmfBuilder::rawRecord(0x041B, {0, 0}) << true << 0 << stopped;
    QTest::newRow("polygon with more points than the record holds")
        << WmfBuilder::rawRecord(0x0324, {100, 0, 0, 10, 10, 0, 10}) << true << 0 << stopped;
    QTest::newRow("poly-polygon counts past the record") << WmfBuilder::rawRecord(0x0538, {50, 3}) << true << 0 << stopped;
    QTest::newRow("poly-polygon points past the record") << WmfBuilder::rawRecord(0x0538, {1, 200, 0, 0}) << true << 0 << stopped;
    QTest::newRow("text longer than its record") << WmfBuilder::rawRecord(0x0521, {500, 0x4141}) << true << 0 << stopped;
    QTest::newRow("negative text length") << WmfBuilder::rawRecord(0x0521, {-4, 0x4141, 0, 0}) << true << 0 << stopped;
    QTest::newRow("extended text longer than its record")
        << WmfBuilder::rawRecord(0x0A32, {10, 10, 400, 0, 0x4141}) << true << 0 << stopped;
    QTest::newRow("file cut inside the last record") << QByteArray() << true << 5 << stopped;

    QTest::newRow("unknown record") << WmfBuilder::rawRecord(0x0077, {1, 2, 3}) << true << 0 << QColor(Qt::blue);
    QTest::newRow("no end record") << QByteArray() << true << -1 << QColor(Qt::blue);
    QTest::newRow("bad object index is ignored")
        << WmfBuilder::rawRecord(0x012D, {57}) << false << 0 << QColor(Qt::red);
    QTest::newRow("deleted object is not selected")
        << WmfBuilder::rawRecord(0x01F0, {2}) + WmfBuilder::rawRecord(0x012D, {2}) << false << 0 << QColor(Qt::red);
    QTest::newRow("unbalanced restore is ignored")
        << WmfBuilder::rawRecord(0x0127, {-1}) + WmfBuilder::rawRecord(0x0127, {3}) << false << 0 << QColor(Qt::red);
    QByteArray huge = dibHeader(30000, 30000, 24);
    huge.append(QByteArray(64, '\x7f'));
    QTest::newRow("oversized bitmap is skipped") << stretchDib(huge, 0, 0, 100, 100, 30000, 30000) << true << 0 << QColor(Qt::blue);
    QByteArray shortRows = dibHeader(64, 64, 24);
    shortRows.append(QByteArray(100, '\x7f'));
    QTest::newRow("bitmap with fewer rows than it claims") << stretchDib(shortRows, 0, 0, 100, 100, 64, 64) << true << 0 << QColor(Qt::blue);
    QTest::newRow("bitmap header cut short") << stretchDib(dibHeader(4, 4, 24).left(20), 0, 0, 100, 100, 4, 4) << true << 0 << QColor(Qt::blue);
    QByteArray rle = dibHeader(4, 4, 8);
    qToLittleEndian<uint32_t>(1, rle.data() + 16);
    rle.append(QByteArray(64, '\0'));
    QTest::newRow("run-length bitmap is skipped") << stretchDib(rle, 0, 0, 100, 100, 4, 4) << true << 0 << QColor(Qt::blue);
}

void WmfPlayerTest::damagedStreams()
{
    QFETCH(QByteArray, damage);
    QFETCH(bool, selectBlue);
    QFETCH(int, cutBytes);
    QFETCH(QColor, after);

    WmfBuilder b = palette();
    b.select(1).rect(0, 0, 50, 100).raw(damage);
    if (selectBlue)
        b.select(2);
    b.rect(50, 0, 100, 100);
    QByteArray bytes = b.bytes(cutBytes == 0);
    if (cutBytes > 0)
        bytes.chop(cutBytes);

    const QImage img = render(bytes);
    QVERIFY(!img.isNull());
    QCOMPARE(img.pixelColor(25, 50), QColor(Qt::red));     // drawn before the damage: stays
    QCOMPARE(img.pixelColor(75, 50), after);
}

void WmfPlayerTest::rejectsBadHeader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = WmfBuilder(100, 100).rect(0, 0, 10, 10).bytes();
    auto patched = [&](int offset, uint16_t value) {
        QByteArray b = good;
        qToLittleEndian<uint16_t>(value, b.data() + offset);
        return b;
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("placeable header only") << good.left(22);
    QTest::newRow("header cut short") << good.left(30);
    QTest::newRow("not placeable") << patched(0, 0x1234);
    QTest::newRow("zero width") << patched(10, 0);
    QTest::newRow("zero height") << patched(12, 0);
    QTest::newRow("zero units per inch") << patched(14, 0);
    QTest::newRow("header size below its fields") << patched(24, 2);
    QTest::newRow("text file") << QByteArray("This is not a picture at all, just words in a file.");
}

void WmfPlayerTest::rejectsBadHeader()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!readWmf(bytes));
}

void WmfPlayerTest::saveRestore_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QColor>("expected");
    // Red selected, saved; blue selected, saved; green selected; then RestoreDC(which).
    QTest::newRow("relative -1: last saved") << -1 << QColor(Qt::blue);
    QTest::newRow("relative -2: first saved") << -2 << QColor(Qt::red);
    QTest::newRow("absolute 1: first saved") << 1 << QColor(Qt::red);
    QTest::newRow("absolute 2: last saved") << 2 << QColor(Qt::blue);
    QTest::newRow("relative past the stack: ignored") << -3 << QColor(Qt::green);
    QTest::newRow("absolute past the stack: ignored") << 5 << QColor(Qt::green);
    QTest::newRow("zero: ignored") << 0 << QColor(Qt::green);
}

void WmfPlayerTest::saveRestore()
{
    QFETCH(int, which);
    QFETCH(QColor, expected);
    WmfBuilder b = palette();
    b.select(1).add(U_WMRSAVEDC_set()).select(2).add(U_WMRSAVEDC_set()).select(3);
    b.add(U_WMRRESTOREDC_set(int16_t(which))).rect(0, 0, 100, 100);
    QCOMPARE(render(b.bytes()).pixelColor(50, 50), expected);
}

void WmfPlayerTest::restoreBringsBackMappingAndClip()
{
    WmfBuilder b = palette();
    b.select(1).add(U_WMRSAVEDC_set());
    b.add(U_WMRSETWINDOWORG_set(U_POINT16{50, 0}));
    b.add(U_WMRINTERSECTCLIPRECT_set(U_RECT16{50, 0, 100, 50}));
    b.rect(50, 0, 100, 100);                               // shifted to the left half, clipped to its top
    b.add(U_WMRRESTOREDC_set(-1)).select(2).rect(60, 60, 100, 100);
    const QImage img = render(b.bytes());
    QCOMPARE(img.pixelColor(25, 25), QColor(Qt::red));
    QCOMPARE(img.pixelColor(25, 75), kGround);             // clipped away
    QCOMPARE(img.pixelColor(80, 80), QColor(Qt::blue));    // unclipped, unshifted after the restore
    QCOMPARE(img.pixelColor(80, 20), kGround);
}

void WmfPlayerTest::mapping_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QRectF>("target");
    QTest::addColumn<QPoint>("inside");
    QTest::addColumn<QPoint>("outside");
    // After the setup a red rectangle is drawn at logical (0, 0)-(50, 50).
    const QRectF whole(0, 0, 100, 100);
    auto rec = [](char *r) {
        QByteArray b(r, qsizetype(U_wmr_size(reinterpret_cast<U_METARECORD *>(r))));
        std::free(r);
        return b;
    };
    QTest::newRow("bounds fill the target") << QByteArray() << whole << QPoint(25, 25) << QPoint(75, 75);
    QTest::newRow("window origin moves the drawing")
        << rec(U_WMRSETWINDOWORG_set(U_POINT16{-50, -50})) << whole << QPoint(75, 75) << QPoint(25, 25);
    QTest::newRow("window twice the bounds halves it")
        << rec(U_WMRSETWINDOWEXT_set(U_POINT16{200, 200})) << whole << QPoint(12, 12) << QPoint(37, 37);
    QTest::newRow("negative extent turns y upwards")
        << rec(U_WMRSETWINDOWORG_set(U_POINT16{0, 100})) + rec(U_WMRSETWINDOWEXT_set(U_POINT16{100, -100})) << whole
        << QPoint(25, 75) << QPoint(25, 25);
    QTest::newRow("viewport extent scales")
        << WmfBuilder::rawRecord(0x020E, {200, 200}) << whole << QPoint(75, 75) << QPoint(75, 110);
    QTest::newRow("scaled window extent")
        << WmfBuilder::rawRecord(0x0410, {1, 2, 1, 2}) << whole << QPoint(12, 12) << QPoint(37, 37);
    QTest::newRow("scaled viewport extent, x only")
        << WmfBuilder::rawRecord(0x0412, {1, 1, 1, 2}) << whole << QPoint(75, 25) << QPoint(25, 75);
    QTest::newRow("zero extent is ignored")
        << rec(U_WMRSETWINDOWEXT_set(U_POINT16{0, 0})) << whole << QPoint(25, 25) << QPoint(75, 75);
    QTest::newRow("offset window origin")
        << rec(U_WMROFFSETWINDOWORG_set(U_POINT16{25, 0})) << whole << QPoint(10, 25) << QPoint(40, 25);
    QTest::newRow("played into part of the image") << QByteArray() << QRectF(50, 0, 50, 50) << QPoint(60, 10) << QPoint(25, 10);
}

void WmfPlayerTest::mapping()
{
    QFETCH(QByteArray, setup);
    QFETCH(QRectF, target);
    QFETCH(QPoint, inside);
    QFETCH(QPoint, outside);
    WmfBuilder b = palette();
    b.raw(setup).select(1).rect(0, 0, 50, 50);
    const QImage img = render(b.bytes(), target);
    QCOMPARE(img.pixelColor(inside), QColor(Qt::red));
    if (img.rect().contains(outside))
        QCOMPARE(img.pixelColor(outside), kGround);
}

void WmfPlayerTest::unsupportedObjectsTakeSlots()
{
    // A palette and a region occupy slots 0 and 1, so the brush lands in slot 2.
    WmfBuilder b;
    b.record(0x00F7, {0x0300, 0}).record(0x06FF, {0, 6, 0, 20, 0, 0, 0, 0, 10, 10});
    b.brush(Qt::red).nullPen();
    b.select(3).select(2).rect(0, 0, 100, 100);
    QCOMPARE(render(b.bytes()).pixelColor(50, 50), QColor(Qt::red));
    // Deleting slot 0 frees it: the next object fills the hole, not a new slot.
    WmfBuilder c;
    c.record(0x00F7, {0x0300, 0}).nullPen().record(0x01F0, {0}).brush(Qt::blue).select(1).select(0).rect(0, 0, 100, 100);
    QCOMPARE(render(c.bytes()).pixelColor(50, 50), QColor(Qt::blue));
}

void WmfPlayerTest::shapes_data()
{
    QTest::addColumn<QByteArray>("shape");
    QTest::addColumn<QPoint>("inside");
    QTest::addColumn<QPoint>("outside");
    auto rec = [](char *r) {
        QByteArray b(r, qsizetype(U_wmr_size(reinterpret_cast<U_METARECORD *>(r))));
        std::free(r);
        return b;
    };
    const U_RECT16 box{10, 10, 90, 90};
    // Radials: start at the top, end at the left; counter-clockwise covers the top-left quarter.
    const U_POINT16 top{50, 0}, left{0, 50};
    QTest::newRow("ellipse") << rec(U_WMRELLIPSE_set(box)) << QPoint(50, 50) << QPoint(13, 13);
    QTest::newRow("round rectangle") << rec(U_WMRROUNDRECT_set(40, 40, box)) << QPoint(50, 15) << QPoint(12, 12);
    QTest::newRow("pie") << rec(U_WMRPIE_set(top, left, box)) << QPoint(35, 35) << QPoint(65, 65);
    QTest::newRow("chord") << rec(U_WMRCHORD_set(top, left, box)) << QPoint(25, 25) << QPoint(45, 45);
    const U_POINT16 tri[3] = {{10, 10}, {90, 10}, {10, 90}};
    QTest::newRow("polygon") << rec(U_WMRPOLYGON_set(3, tri)) << QPoint(30, 30) << QPoint(70, 70);
    const U_POINT16 rings[8] = {{10, 10}, {90, 10}, {90, 90}, {10, 90}, {30, 30}, {70, 30}, {70, 70}, {30, 70}};
    const uint16_t counts[2] = {4, 4};
    QTest::newRow("poly-polygon with a hole") << rec(U_WMRPOLYPOLYGON_set(2, counts, rings)) << QPoint(20, 50) << QPoint(50, 50);
}

void WmfPlayerTest::shapes()
{
    QFETCH(QByteArray, shape);
    QFETCH(QPoint, inside);
    QFETCH(QPoint, outside);
    WmfBuilder b = palette();
    b.select(1).raw(shape);
    const QImage img = render(b.bytes());
    QCOMPARE(img.pixelColor(inside), QColor(Qt::red));
    QCOMPARE(img.pixelColor(outside), kGround);
}

void WmfPlayerTest::bitmaps_data()
{
    QTest::addColumn<QByteArray>("dib");
    QTest::addColumn<QColor>("topLeft");
    QTest::addColumn<QColor>("bottomRight");
    // 2 x 2 bitmaps drawn over the whole picture.
    QByteArray rgb = dibHeader(2, 2, 24);            // bottom-up: the bottom row comes first
    rgb.append(QByteArray("\x00\x00\xff\x00\xff\x00\x00\x00", 8));    // red, green
    rgb.append(QByteArray("\xff\x00\x00\x00\x00\x00\x00\x00", 8));    // blue, black
    QTest::newRow("24-bit bottom-up") << rgb << QColor(Qt::blue) << QColor(Qt::green);
    QByteArray topDown = dibHeader(2, -2, 24);
    topDown.append(rgb.mid(40));
    QTest::newRow("24-bit top-down") << topDown << QColor(Qt::red) << QColor(Qt::black);
    QByteArray pal8 = dibHeader(2, 2, 8, 2);
    pal8.append(quad(Qt::yellow)).append(quad(Qt::cyan));
    pal8.append(QByteArray("\x00\x01\x00\x00\x01\x00\x00\x00", 8));
    QTest::newRow("8-bit palette") << pal8 << QColor(Qt::cyan) << QColor(Qt::cyan);
    QByteArray pal1 = dibHeader(2, 2, 1);
    pal1.append(quad(Qt::black)).append(quad(Qt::white));
    pal1.append(QByteArray("\x40\x00\x00\x00\x80\x00\x00\x00", 8));   // bottom 0 1, top 1 0
    QTest::newRow("1-bit") << pal1 << QColor(Qt::white) << QColor(Qt::white);
    QByteArray argb = dibHeader(2, 2, 32);
    argb.append(QByteArray("\x00\x00\xff\xff\x00\x00\xff\x00", 8));   // opaque red, transparent red
    argb.append(QByteArray("\x00\x00\xff\x00\x00\x00\xff\xff", 8));
    QTest::newRow("32-bit with transparency") << argb << kGround << kGround;
    QByteArray rgb32 = dibHeader(2, 2, 32);
    rgb32.append(QByteArray("\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff\x00", 16));
    QTest::newRow("32-bit without alpha is opaque") << rgb32 << QColor(Qt::red) << QColor(Qt::red);
    QImage small(2, 2, QImage::Format_RGB32);
    small.setPixelColor(0, 0, Qt::magenta);
    small.setPixelColor(1, 0, Qt::black);
    small.setPixelColor(0, 1, Qt::black);
    small.setPixelColor(1, 1, Qt::yellow);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "PNG");
    QByteArray packed = dibHeader(2, 2, 0);
    qToLittleEndian<uint32_t>(5, packed.data() + 16);                      // BI_PNG
    qToLittleEndian<uint32_t>(uint32_t(png.size()), packed.data() + 20);
    packed.append(png);
    QTest::newRow("PNG inside") << packed << QColor(Qt::magenta) << QColor(Qt::yellow);
}

void WmfPlayerTest::bitmaps()
{
    QFETCH(QByteArray, dib);
    QFETCH(QColor, topLeft);
    QFETCH(QColor, bottomRight);
    const int h = std::abs(qFromLittleEndian<int32_t>(dib.constData() + 8));
    WmfBuilder b;
    b.raw(stretchDib(dib, 0, 0, 100, 100, 2, h));
    const QImage img = render(b.bytes());
    QCOMPARE(img.pixelColor(10, 10), topLeft);
    QCOMPARE(img.pixelColor(90, 90), bottomRight);
}

void WmfPlayerTest::text_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("align");
    QTest::addColumn<double>("em");        // device pixels
    QTest::addColumn<QPointF>("at");       // where the text's baseline starts, device pixels
    // Played at 1/15: the text record is at (1500, 1500) with advances adding up to 600.
    QTest::newRow("Times New Roman on the baseline") << u"Times New Roman"_qs << -240 << int(U_TA_BASELINE) << 16.0 << QPointF(100, 100);
    QTest::newRow("Tahoma, 20 pixels") << u"Tahoma"_qs << -300 << int(U_TA_BASELINE) << 20.0 << QPointF(100, 100);
    QTest::newRow("Arial right-aligned") << u"Arial"_qs << -240 << int(U_TA_BASELINE | U_TA_RIGHT) << 16.0 << QPointF(60, 100);
    QTest::newRow("Arial centred") << u"Arial"_qs << -240 << int(U_TA_BASELINE | U_TA_CENTER) << 16.0 << QPointF(80, 100);
    QTest::newRow("top: baseline one ascent lower") << u"Arial"_qs << -240 << int(U_TA_TOP) << 16.0 << QPointF(100, -1);
    QTest::newRow("bottom: baseline one descent higher") << u"Arial"_qs << -240 << int(U_TA_BOTTOM) << 16.0 << QPointF(100, -2);
}

void WmfPlayerTest::text()
{
    QFETCH(QString, face);
    QFETCH(int, height);
    QFETCH(int, align);
    QFETCH(double, em);
    QFETCH(QPointF, at);

    WmfBuilder b(3000, 3000, 1440);
    b.font(height, face.toLatin1().constData(), 700, true).select(0);
    b.add(U_WMRSETTEXTALIGN_set(uint16_t(align)));
    b.add(U_WMRSETBKMODE_set(U_TRANSPARENT));
    int16_t dx[6] = {100, 100, 100, 100, 100, 100};
    b.add(U_WMREXTTEXTOUT_set(U_POINT16{1500, 1500}, 6, 0, "Caf\xe9 \x93", dx, U_RECT16{0, 0, 0, 0}));

    TextRecorder device;
    {
        QPainter p(&device);
        readWmf(b.bytes())->paint(p, QRectF(0, 0, 200, 200));
    }
    QVERIFY(!device.drawn().empty());
    const DrawnText &t = device.drawn().front();
    QString all;
    for (const DrawnText &d : device.drawn())
        all += d.text;
    QCOMPARE(all, u"Café \u201C"_qs);                     // Windows-1252
    QCOMPARE(t.family, face);
    QVERIFY2(std::abs(t.em - em) < 0.05, qPrintable(QString::number(t.em)));
    QCOMPARE(t.weight, 700);
    QVERIFY(t.italic);
    QFont f(face);
    f.setPixelSize(-height);
    const QFontMetricsF fm(f);                           // in logical units, played at 1/15
    QPointF expected = at;
    if (at.y() == -1)
        expected = QPointF(100, 100 + fm.ascent() / 15);
    else if (at.y() == -2)
        expected = QPointF(100, 100 - fm.descent() / 15);
    QVERIFY2(std::abs(t.at.x() - expected.x()) < 0.5, qPrintable(QString::number(t.at.x())));
    QVERIFY2(std::abs(t.at.y() - expected.y()) < 0.6, qPrintable(QString::number(t.at.y())));
}

void WmfPlayerTest::ownSize()
{
    const PictureHandle pic = readWmf(WmfBuilder(2880, 720, 1440).bytes());
    QVERIFY(pic);
    QCOMPARE(pic->sizePixels(), QSize(192, 48));
    QCOMPARE(pic->sizeTwips(), QSizeF(2880, 720));
    const PictureHandle metric = readWmf(WmfBuilder(1000, 500, 2540).bytes());
    QCOMPARE(metric->sizePixels(), QSize(38, 19));
    QCOMPARE(metric->sizeTwips(), QSizeF(1000 * 1440.0 / 2540, 500 * 1440.0 / 2540));
}

void WmfPlayerTest::picturesLoadMetafiles()
{
    test::DataFolder data(false);
    const QByteArray page = paintToWmf(QSize(1440, 720), [](QPainter &p) { p.fillRect(QRect(0, 0, 1440, 720), Qt::red); });
    data.write(u"wmf/page.wmf"_qs, page);
    data.write(u"wmf/broken.wmf"_qs, page.left(30));

    Picture picture(nullptr, Picture::Mode::AutoSize);
    picture.load(u"WMF\\Page.wmf"_qs);
    QVERIFY(std::dynamic_pointer_cast<const WmfPicture>(picture.picture()));
    QCOMPARE(picture.size(), QSize(96, 48));
    QImage shot(picture.size(), QImage::Format_RGB32);
    shot.fill(Qt::white);
    picture.render(&shot);
    QCOMPARE(shot.pixelColor(48, 24), QColor(Qt::red));

    QVERIFY_THROWS_EXCEPTION(FileError, loadPicture(u"wmf\\broken.wmf"_qs));
    QCOMPARE(picture.fileName(), u"WMF\\Page.wmf"_qs);      // a failed load keeps the old picture
}

QTEST_MAIN(WmfPlayerTest)
#include "tst_wmfplayer.moc"
