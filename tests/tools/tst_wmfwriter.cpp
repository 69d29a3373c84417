// Metafile writer: device metrics, records for pens, brushes, fonts, shapes and images, and a round
// trip of a whole page (drawn directly vs. written and played back).
#include "platform/fonts.h"
#include "platform/textcodec.h"
#include "pagemaker/wmfwriter.h"
#include "platform/wmf.h"
#include "platform/wmfplayer.h"
#include "platform/wmfrecords.h"

#include <QAbstractTextDocumentLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <QTest>
#include <QTextDocument>

#include <uwmf.h>

using namespace terravale;
using namespace terravale::wmf;

namespace {

Program written(const std::function<void(QPainter &)> &paint, QSize size = QSize(2000, 2000))
{
    const auto program = parseProgram(paintToWmf(size, paint));
    if (!program)
        return {};
    return *program;
}

template <typename T>
std::vector<T> all(const Program &p)
{
    std::vector<T> out;
    for (const Command &c : p.commands)
        if (const T *t = std::get_if<T>(&c))
            out.push_back(*t);
    return out;
}

// The objects selected when the n-th command of type T is drawn.
template <typename T>
std::tuple<LogPen, LogBrush, LogFont> selectedAt(const Program &p, int n = 0)
{
    std::vector<Command> table;
    std::vector<bool> used;
    LogPen pen;
    LogBrush brush;
    LogFont font;
    for (const Command &c : p.commands) {
        if (std::holds_alternative<cmd::CreatePen>(c) || std::holds_alternative<cmd::CreateBrush>(c)
            || std::holds_alternative<cmd::CreateFont>(c)) {
            size_t slot = std::find(used.begin(), used.end(), false) - used.begin();
            if (slot == used.size()) {
                used.push_back(true);
                table.push_back(c);
            } else {
                used[slot] = true;
                table[slot] = c;
            }
        } else if (const auto *d = std::get_if<cmd::DeleteObject>(&c)) {
            used[size_t(d->index)] = false;
        } else if (const auto *s = std::get_if<cmd::SelectObject>(&c)) {
            const Command &o = table[size_t(s->index)];
            if (const auto *cp = std::get_if<cmd::CreatePen>(&o))
                pen = cp->pen;
            if (const auto *cb = std::get_if<cmd::CreateBrush>(&o))
                brush = cb->brush;
            if (const auto *cf = std::get_if<cmd::CreateFont>(&o))
                font = cf->font;
        } else if (std::holds_alternative<T>(c) && n-- == 0) {
            return {pen, brush, font};
        }
    }
    return {};
}

struct Difference {
    double mean = 0;      // mean of the largest channel difference, 0..255
    double close = 0;     // share of pixels whose channels all differ by at most 32
};

Difference compare(const QImage &a, const QImage &b)
{
    Difference d;
    qint64 sum = 0, close = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int m = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
            sum += m;
            close += m <= 32;
        }
    }
    const double n = double(a.width()) * a.height();
    d.mean = sum / n;
    d.close = close / n;
    return d;
}

// A page as the program's pages are made: headings and text, shapes, a ring (path with a hole),
// a photograph, SVG artwork and a clipped shape. Pens are at least one pixel wide when shown.
void samplePage(QPainter &p)
{
    p.fillRect(QRectF(0, 0, 11000, 7800), QColor(250, 246, 230));
    QFont heading(u"Tahoma"_qs);
    heading.setPointSize(20);
    heading.setBold(true);
    p.setFont(heading);
    p.setPen(QColor(20, 60, 140));
    p.drawText(QRectF(400, 200, 10200, 700), Qt::AlignLeft | Qt::AlignVCenter, u"Key Facts: Rubbish"_qs);
    QFont body(u"Times New Roman"_qs);
    body.setPointSize(12);
    p.setFont(body);
    p.setPen(Qt::black);
    const QStringList lines = {u"Every family in Britain throws away about a tonne of rubbish a year."_qs,
                               u"Most of it goes into holes in the ground called landfill sites."_qs,
                               u"Glass, paper, cans and plastic bottles can be recycled – used again."_qs,
                               u"Café owners recycle “lots” of cardboard; it saves £££ and trees."_qs};
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QPointF(600, 1400 + i * 360), lines[i]);
    QFont list(u"Arial"_qs);
    list.setPointSize(11);
    list.setItalic(true);
    p.setFont(list);
    p.drawText(QPointF(600, 3000), u"• Reduce  • Reuse  • Recycle"_qs);

    p.setPen(QPen(QColor(160, 30, 30), 30));
    p.setBrush(QColor(250, 210, 60));
    p.drawRect(600, 3400, 2400, 1500);
    p.drawEllipse(QRectF(3400, 3400, 1500, 1500));
    p.setBrush(QColor(40, 140, 60));
    QPainterPath ring;
    ring.addEllipse(QRectF(5200, 3400, 1800, 1800));
    ring.addEllipse(QRectF(5700, 3900, 800, 800));
    p.drawPath(ring);
    p.setPen(QPen(Qt::darkBlue, 45, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(600, 5200, 4800, 5200);

    QImage photo(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x * 255 / 160, y * 255 / 120, 128));
    p.drawImage(QRectF(7400, 3400, 3000, 2250), photo);

    QSvgRenderer svg(QByteArray(
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 200 100'>"
        "<rect x='5' y='5' width='190' height='90' rx='12' fill='#cfe8ff' stroke='#246' stroke-width='3'/>"
        "<path d='M20 80 C 60 10, 140 10, 180 80 Z' fill='#7c4' stroke='#333' stroke-width='2'/>"
        "<circle cx='100' cy='60' r='18' fill='orange'/></svg>"));
    svg.render(&p, QRectF(600, 5600, 4000, 2000));

    p.save();
    p.setClipRect(QRectF(5200, 5600, 2000, 1000));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 60, 160));
    p.drawEllipse(QRectF(5200, 5600, 2000, 2000));           // only its top half shows
    p.restore();
}

// Headings, paragraphs with bold and italic words, a list and a shaded note, laid out by
// QTextDocument on the painter's own device (so that points mean the same there).
void richTextPage(QPainter &p)
{
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(p.device());
    doc.setDocumentMargin(0);
    QFont body(u"Times New Roman"_qs);
    body.setPointSize(12);
    doc.setDefaultFont(body);
    doc.setTextWidth(10000);
    doc.setHtml(u"<h1 style='font-family:Tahoma; color:#1a4a90'>Key Facts: Resources</h1>"
                "<p>The Earth gives us <b>water</b>, <i>wood</i>, metals and oil. Some resources, like trees, "
                "can grow again; others, like oil, will run out one day.</p>"
                "<ul><li>Turn off lights you are not using.</li><li>Recycle cans – they are made of aluminium.</li></ul>"
                "<p style='background:#fff3b0'>Did you know? Recycling one can saves energy.</p>"_qs);
    p.translate(500, 400);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    doc.documentLayout()->draw(&p, context);
}

} // namespace

class WmfWriterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerFonts(); }
    void deviceMetrics_data();
    void deviceMetrics();
    void fonts_data();
    void fonts();
    void pens_data();
    void pens();
    void brushes_data();
    void brushes();
    void gradients_data();
    void gradients();
    void translucentOverWhatIsUnder();
    void transformAndShapes();
    void pathWithHoles_data();
    void pathWithHoles();
    void images();
    void manyColoursReuseSlots();
    void clipEndsWithRestore();
    void roundTrip_data();
    void roundTrip();
};

void WmfWriterTest::deviceMetrics_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("unitsPerInch");
    QTest::addColumn<int>("twelvePoint");   // pixel size of a 12-point font on the device
    QTest::newRow("twips page") << QSize(11000, 7800) << 1440 << 240;
    QTest::newRow("screen pixels") << QSize(800, 600) << 96 << 16;
}

void WmfWriterTest::deviceMetrics()
{
    QFETCH(QSize, size);
    QFETCH(int, unitsPerInch);
    QFETCH(int, twelvePoint);
    QSize seen;
    int dpi = 0, physical = 0, fontPixels = 0;
    const QByteArray wmf = paintToWmf(size, [&](QPainter &p) {
        seen = QSize(p.device()->width(), p.device()->height());
        dpi = p.device()->logicalDpiY();
        physical = p.device()->physicalDpiX();
        QFont f(u"Arial"_qs);
        f.setPointSize(12);
        p.setFont(f);
        fontPixels = p.fontInfo().pixelSize();
    }, unitsPerInch);
    QCOMPARE(seen, size);
    QCOMPARE(dpi, unitsPerInch);
    QCOMPARE(physical, unitsPerInch);
    QCOMPARE(fontPixels, twelvePoint);
    const auto program = parseProgram(wmf);
    QVERIFY(program);
    QCOMPARE(program->bounds, QRect(QPoint(0, 0), size));
    QCOMPARE(program->unitsPerInch, unitsPerInch);
    QVERIFY(!program->damaged);
}

void WmfWriterTest::fonts_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("text");
    QTest::newRow("Times New Roman 12") << u"Times New Roman"_qs << 12 << false << false << u"Plain words."_qs;
    QTest::newRow("Tahoma 20 bold") << u"Tahoma"_qs << 20 << true << false << u"Key Facts"_qs;
    QTest::newRow("Arial 10 italic, Windows-1252 text") << u"Arial"_qs << 10 << false << true << u"Café – “quoted” £5 €"_qs;
}

void WmfWriterTest::fonts()
{
    QFETCH(QString, family);
    QFETCH(int, points);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QString, text);
    QFont font(family);
    font.setPointSize(points);
    font.setBold(bold);
    font.setItalic(italic);
    double advance = 0;
    const Program p = written([&](QPainter &painter) {
        painter.setFont(font);
        painter.setPen(QColor(10, 20, 30));
        painter.drawText(QPointF(300, 700), text);
        advance = QFontMetricsF(painter.font(), painter.device()).horizontalAdvance(text);
    });
    const auto texts = all<cmd::Text>(p);
    QCOMPARE(int(texts.size()), 1);
    QCOMPARE(texts[0].text, decodeCp1252(encodeCp1252(text)));
    QCOMPARE(texts[0].at, QPoint(300, 700));                 // on the baseline
    QCOMPARE(int(texts[0].dx.size()), int(texts[0].text.size()));
    QVERIFY(std::abs(std::accumulate(texts[0].dx.begin(), texts[0].dx.end(), 0) - advance) <= 1.0);
    const LogFont f = std::get<2>(selectedAt<cmd::Text>(p));
    QCOMPARE(f.face, family);
    QCOMPARE(f.height, -points * 20);                         // 1440 units an inch
    QCOMPARE(f.weight, bold ? 700 : 400);
    QCOMPARE(f.italic, italic);
    const auto colours = all<cmd::SetTextColor>(p);
    QCOMPARE(colours.back().color, QColor(10, 20, 30));
    const auto attrs = all<cmd::SetAttr>(p);
    QVERIFY(std::any_of(attrs.begin(), attrs.end(), [](const cmd::SetAttr &a) {
        return a.what == cmd::Attr::TextAlign && a.value == U_TA_BASELINE;
    }));
}

void WmfWriterTest::pens_data()
{
    QTest::addColumn<QPen>("pen");
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("width");
    QTest::addColumn<QColor>("colour");
    const int qtDefault = U_PS_SOLID | U_PS_ENDCAP_SQUARE | U_PS_JOIN_BEVEL;   // QPen's square ends, bevelled joins
    QTest::newRow("solid 30") << QPen(Qt::red, 30) << 1.0 << qtDefault << 30 << QColor(Qt::red);
    QTest::newRow("width follows the transform") << QPen(Qt::red, 30) << 2.0 << qtDefault << 60 << QColor(Qt::red);
    QTest::newRow("dashes, flat ends, mitred") << QPen(QBrush(Qt::blue), 15, Qt::DashLine, Qt::FlatCap, Qt::MiterJoin) << 1.0
                                               << int(U_PS_DASH | U_PS_ENDCAP_FLAT | U_PS_JOIN_MITER) << 15 << QColor(Qt::blue);
    QTest::newRow("no pen") << QPen(Qt::NoPen) << 1.0 << int(U_PS_NULL) << 0 << QColor(Qt::black);
    QTest::newRow("half transparent over white") << QPen(QColor(0, 0, 0, 128), 20) << 1.0 << qtDefault << 20 << QColor(127, 127, 127);
}

void WmfWriterTest::pens()
{
    QFETCH(QPen, pen);
    QFETCH(double, scale);
    QFETCH(int, style);
    QFETCH(int, width);
    QFETCH(QColor, colour);
    const Program p = written([&](QPainter &painter) {
        painter.scale(scale, scale);
        painter.setPen(pen);
        painter.setBrush(Qt::white);
        painter.drawRect(100, 100, 400, 300);
    });
    QCOMPARE(int(all<cmd::Rectangle>(p).size()), 1);
    const LogPen s = std::get<0>(selectedAt<cmd::Rectangle>(p));
    QCOMPARE(int(s.style), style);
    QCOMPARE(s.width, width);
    if (style != U_PS_NULL)
        QVERIFY(std::abs(s.color.red() - colour.red()) <= 1 && std::abs(s.color.blue() - colour.blue()) <= 1);
}

void WmfWriterTest::brushes_data()
{
    QTest::addColumn<QBrush>("brush");
    QTest::addColumn<int>("style");
    QTest::addColumn<QColor>("colour");
    QConicalGradient g(50, 50, 0);
    g.setColorAt(0, QColor(200, 0, 0));
    g.setColorAt(1, QColor(0, 0, 200));
    QTest::newRow("solid") << QBrush(QColor(10, 200, 30)) << int(U_BS_SOLID) << QColor(10, 200, 30);
    QTest::newRow("conical gradient: mean of its stops") << QBrush(g) << int(U_BS_SOLID) << QColor(100, 0, 100);
    QTest::newRow("none") << QBrush(Qt::NoBrush) << int(U_BS_NULL) << QColor();
    QTest::newRow("fully transparent") << QBrush(QColor(0, 0, 0, 0)) << int(U_BS_NULL) << QColor();
}

void WmfWriterTest::brushes()
{
    QFETCH(QBrush, brush);
    QFETCH(int, style);
    QFETCH(QColor, colour);
    const Program p = written([&](QPainter &painter) {
        painter.setPen(QPen(Qt::black, 10));
        painter.setBrush(brush);
        painter.drawEllipse(QRectF(100, 100, 400, 300));
    });
    QCOMPARE(int(all<cmd::Ellipse>(p).size()), 1);
    const LogBrush b = std::get<1>(selectedAt<cmd::Ellipse>(p));
    QCOMPARE(int(b.style), style);
    if (colour.isValid())
        QVERIFY2(std::abs(b.color.red() - colour.red()) <= 1 && std::abs(b.color.green() - colour.green()) <= 1
                     && std::abs(b.color.blue() - colour.blue()) <= 1,
                 qPrintable(b.color.name()));
}

void WmfWriterTest::gradients_data()
{
    QTest::addColumn<QBrush>("brush");
    QTest::addColumn<QPoint>("first");      // where the first stop's colour shows (in a 100 x 100 image)
    QTest::addColumn<QPoint>("last");       // where the last stop's colour shows
    QLinearGradient across(100, 0, 900, 0);
    across.setColorAt(0, Qt::red);
    across.setColorAt(1, Qt::blue);
    QTest::newRow("linear, left to right") << QBrush(across) << QPoint(5, 50) << QPoint(95, 50);
    QLinearGradient down(0, 0, 0, 1);
    down.setCoordinateMode(QGradient::ObjectMode);
    down.setColorAt(0, Qt::red);
    down.setColorAt(1, Qt::blue);
    QTest::newRow("linear, object bounding box") << QBrush(down) << QPoint(50, 2) << QPoint(50, 97);
    QRadialGradient ring(500, 500, 500);
    ring.setColorAt(0, Qt::red);
    ring.setColorAt(1, Qt::blue);
    QTest::newRow("radial") << QBrush(ring) << QPoint(50, 50) << QPoint(2, 2);
}

// Gradients are bands of solid colour from the first stop to the last, with no gaps between them.
void WmfWriterTest::gradients()
{
    QFETCH(QBrush, brush);
    QFETCH(QPoint, first);
    QFETCH(QPoint, last);
    const QByteArray wmf = paintToWmf(QSize(1000, 1000), [&](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(brush);
        p.drawRect(0, 0, 1000, 1000);
    });
    const auto program = parseProgram(wmf);
    QVERIFY(all<cmd::Polygon>(*program).size() + all<cmd::PolyPolygon>(*program).size() >= 4);
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        readWmf(wmf)->paint(p, QRectF(0, 0, 100, 100));
    }
    const QColor a = img.pixelColor(first), b = img.pixelColor(last);
    QVERIFY2(a.red() > 200 && a.blue() < 60, qPrintable(a.name()));
    QVERIFY2(b.blue() > 200 && b.red() < 60, qPrintable(b.name()));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            QVERIFY2(img.pixelColor(x, y).green() < 40, qPrintable(u"background shows at %1,%2"_qs.arg(x).arg(y)));
}

// A translucent shape takes the colour it shows over what was drawn under it.
void WmfWriterTest::translucentOverWhatIsUnder()
{
    const QByteArray wmf = paintToWmf(QSize(1000, 1000), [](QPainter &p) {
        p.fillRect(QRect(0, 0, 1000, 1000), QColor(0, 0, 200));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 128));
        p.drawRect(250, 250, 500, 500);
        p.setOpacity(0.5);
        p.setBrush(Qt::black);
        p.drawEllipse(QRect(0, 0, 200, 200));
    });
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        readWmf(wmf)->paint(p, QRectF(0, 0, 100, 100));
    }
    const QColor veil = img.pixelColor(50, 50);
    QVERIFY2(std::abs(veil.red() - 128) <= 3 && std::abs(veil.blue() - 227) <= 3, qPrintable(veil.name()));
    const QColor shade = img.pixelColor(10, 10);
    QVERIFY2(shade.red() <= 3 && std::abs(shade.blue() - 100) <= 3, qPrintable(shade.name()));
}

void WmfWriterTest::transformAndShapes()
{
    const Program p = written([](QPainter &painter) {
        painter.setPen(QPen(Qt::black, 10));
        painter.setBrush(Qt::red);
        painter.translate(100, 200);
        painter.drawRect(0, 0, 50, 40);                 // a rectangle, moved
        painter.rotate(90);
        painter.drawRect(0, 0, 50, 40);                 // turned: a polygon
        painter.resetTransform();
        painter.drawLine(10, 10, 500, 10);
    });
    const auto rects = all<cmd::Rectangle>(p);
    QCOMPARE(int(rects.size()), 1);
    QCOMPARE(rects[0].r.rect(), QRectF(100, 200, 50, 40));
    const auto polys = all<cmd::Polygon>(p);
    QCOMPARE(int(polys.size()), 1);
    QCOMPARE(polys[0].points.boundingRect(), QRect(QPoint(60, 200), QPoint(100, 250)));
    const auto lines = all<cmd::Polyline>(p);
    QCOMPARE(int(lines.size()), 1);
    QCOMPARE(lines[0].points, QPolygon({QPoint(10, 10), QPoint(500, 10)}));
}

void WmfWriterTest::pathWithHoles_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<int>("mode");
    QTest::newRow("odd-even: alternate") << int(Qt::OddEvenFill) << int(U_ALTERNATE);
    QTest::newRow("winding") << int(Qt::WindingFill) << int(U_WINDING);
}

void WmfWriterTest::pathWithHoles()
{
    QFETCH(int, rule);
    QFETCH(int, mode);
    const Program p = written([&](QPainter &painter) {
        QPainterPath path;
        path.setFillRule(Qt::FillRule(rule));
        path.addRect(100, 100, 1000, 1000);
        path.addEllipse(QRectF(300, 300, 400, 400));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::blue);
        painter.drawPath(path);
        QPainterPath open;                              // an open curve: stroked, not filled
        open.moveTo(100, 1500);
        open.cubicTo(500, 1200, 900, 1800, 1300, 1500);
        painter.setPen(QPen(Qt::black, 20));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(open);
    });
    const auto pp = all<cmd::PolyPolygon>(p);
    QCOMPARE(int(pp.size()), 1);
    QCOMPARE(int(pp[0].polygons.size()), 2);
    QCOMPARE(pp[0].polygons[0].boundingRect(), QRect(QPoint(100, 100), QPoint(1100, 1100)));
    QVERIFY(pp[0].polygons[1].size() > 8);              // the circle, flattened
    const auto attrs = all<cmd::SetAttr>(p);
    const auto last = std::find_if(attrs.rbegin(), attrs.rend(), [](const cmd::SetAttr &a) { return a.what == cmd::Attr::PolyFillMode; });
    QVERIFY(last != attrs.rend());
    QCOMPARE(last->value, mode);
    const auto lines = all<cmd::Polyline>(p);
    QCOMPARE(int(lines.size()), 1);
    QVERIFY(lines[0].points.size() > 4);
    QCOMPARE(lines[0].points.first(), QPoint(100, 1500));
    QCOMPARE(lines[0].points.last(), QPoint(1300, 1500));
}

void WmfWriterTest::images()
{
    QImage img(40, 20, QImage::Format_ARGB32);
    img.fill(Qt::red);
    for (int x = 20; x < 40; ++x)
        for (int y = 0; y < 20; ++y)
            img.setPixel(x, y, qRgba(0, 0, 255, 255));
    QImage translucent(10, 10, QImage::Format_ARGB32);
    translucent.fill(qRgba(0, 255, 0, 100));
    const Program p = written([&](QPainter &painter) {
        painter.drawImage(QRectF(100, 200, 800, 400), img);
        painter.drawImage(QRectF(1000, 1000, 300, 300), translucent);
    });
    const auto bitmaps = all<cmd::Bitmap>(p);
    QCOMPARE(int(bitmaps.size()), 2);
    QCOMPARE(bitmaps[0].dst.rect(), QRectF(100, 200, 800, 400));
    QCOMPARE(bitmaps[0].image.size(), QSize(40, 20));
    QCOMPARE(bitmaps[0].image.pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(bitmaps[0].image.pixelColor(35, 15), QColor(Qt::blue));
    QVERIFY(!bitmaps[0].image.hasAlphaChannel());
    QVERIFY(bitmaps[1].image.hasAlphaChannel());           // kept as a 32-bit bitmap with its alpha
    QCOMPARE(qAlpha(bitmaps[1].image.convertToFormat(QImage::Format_ARGB32).pixel(5, 5)), 100);
}

QImage played(const QByteArray &wmf, QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    readWmf(wmf)->paint(p, QRectF(QPointF(0, 0), size));
    return img;
}

// More distinct brushes than the writer keeps alive: old ones are deleted, never the selected one.
void WmfWriterTest::manyColoursReuseSlots()
{
    auto colour = [](int i) { return QColor(i % 30 * 8, i / 30 * 8, 200); };
    const QByteArray wmf = paintToWmf(QSize(3000, 2000), [&](QPainter &p) {
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 600; ++i) {
            p.setBrush(colour(i));
            p.drawRect(i % 30 * 100, i / 30 * 100, 100, 100);
        }
    });
    const auto program = parseProgram(wmf);
    QVERIFY(program);
    QVERIFY2(program->objects <= 520, qPrintable(QString::number(program->objects)));
    QVERIFY(!all<cmd::DeleteObject>(*program).empty());
    const QImage img = played(wmf, QSize(300, 200));
    for (int i : {0, 1, 299, 511, 512, 513, 599})
        QCOMPARE(img.pixelColor(i % 30 * 10 + 5, i / 30 * 10 + 5), colour(i));
}

// The clip lives in a saved device context; after it the selected objects are those saved with it.
void WmfWriterTest::clipEndsWithRestore()
{
    const QByteArray wmf = paintToWmf(QSize(1000, 1000), [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::red);
        p.drawRect(0, 0, 100, 100);           // red selected before the clip
        p.save();
        p.setClipRect(QRect(0, 0, 500, 1000));
        p.setBrush(Qt::green);
        p.drawRect(0, 200, 1000, 300);        // only its left half shows
        p.restore();
        p.setBrush(Qt::green);
        p.drawRect(0, 600, 1000, 400);        // unclipped, and green although red came back
    });
    const QImage img = played(wmf, QSize(100, 100));
    QCOMPARE(img.pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(img.pixelColor(25, 35), QColor(Qt::green));
    QCOMPARE(img.pixelColor(75, 35), QColor(Qt::white));
    QCOMPARE(img.pixelColor(25, 80), QColor(Qt::green));
    QCOMPARE(img.pixelColor(75, 80), QColor(Qt::green));
}

void WmfWriterTest::roundTrip_data()
{
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<bool>("richText");
    QTest::newRow("page at screen size") << QSize(800, 567) << false;
    QTest::newRow("page at half size") << QSize(400, 284) << false;
    QTest::newRow("rich text at screen size") << QSize(800, 567) << true;
}

// Tolerance: the mean largest channel difference stays under 2 (of 255) and at least 98% of the
// pixels differ by 32 or less; what remains is anti-aliasing and rounding to whole units.
void WmfWriterTest::roundTrip()
{
    QFETCH(QSize, shown);
    QFETCH(bool, richText);
    const auto draw = richText ? richTextPage : samplePage;
    const QSize page(11000, 7800);
    QImage direct(shown, QImage::Format_RGB32);
    direct.fill(Qt::white);
    // Drawn directly at the page's own resolution, so that its point sizes mean the same.
    const int dotsPerMeter = int(std::lround(1440 / 0.0254));
    direct.setDotsPerMeterX(dotsPerMeter);
    direct.setDotsPerMeterY(dotsPerMeter);
    {
        QPainter p(&direct);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        p.scale(double(shown.width()) / page.width(), double(shown.height()) / page.height());
        draw(p);
    }
    const QByteArray wmf = paintToWmf(page, draw);
    const PictureHandle picture = readWmf(wmf);
    QVERIFY(picture);
    QCOMPARE(picture->sizePixels(), QSize(733, 520));
    QImage played(shown, QImage::Format_RGB32);
    played.fill(Qt::white);
    {
        QPainter p(&played);
        picture->paint(p, QRectF(QPointF(0, 0), shown));
    }
    const Difference d = compare(direct, played);
    qInfo("mean difference %.3f, pixels within 32: %.2f%%", d.mean, d.close * 100);
    if (d.mean >= 2.0 || d.close < 0.98) {
        direct.save(QDir::temp().filePath(u"wmf-direct.png"_qs));
        played.save(QDir::temp().filePath(u"wmf-played.png"_qs));
    }
    QVERIFY2(d.mean < 2.0, qPrintable(u"mean difference %1"_qs.arg(d.mean)));
    QVERIFY2(d.close >= 0.98, qPrintable(u"close pixels %1"_qs.arg(d.close)));
    if (richText)
        return;
    // Every kind of record the page needs was written.
    const auto program = parseProgram(wmf);
    QVERIFY(!all<cmd::Text>(*program).empty());
    QVERIFY(!all<cmd::PolyPolygon>(*program).empty());
    QVERIFY(!all<cmd::Bitmap>(*program).empty());
    QVERIFY(!all<cmd::ClipRect>(*program).empty());
}

QTEST_MAIN(WmfWriterTest)
#include "tst_wmfwriter.moc"
