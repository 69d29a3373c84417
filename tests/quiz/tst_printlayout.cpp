// Certificate, worksheet and page prints on the recording printer: what goes on the page, where,
// in which font and colour, and which message follows.
#include "platform/fonts.h"
#include "platform/printer.h"
#include "rules/certificate.h"
#include "quiz/multiple.h"
#include "rules/questionset.h"
#include "quiz/welldone.h"
#include "rules/session.h"
#include "topics/pageprint.h"
#include "testsupport.h"
#include "quizfixture.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLineEdit>
#include <QTest>

using namespace terravale;

namespace {
const QString kProblem = u"There was a problem printing to your printer."_qs;
const QString kTimes = u"Times New Roman"_qs;
const QSizeF kA4(11906, 16838);
const QSizeF kLetter(12240, 15840);

// A text item as the layout should put it out.
struct Item {
    QString text;
    double size;
    int color;
    bool ends;      // ends its line
    enum { Left, Centred, Eighth, After } x;
};

double width(const QString &text, double size) { return QFontMetricsF(printerFont(kTimes, size)).horizontalAdvance(text); }
double step(double size) { return QFontMetricsF(printerFont(kTimes, size)).lineSpacing(); }

QList<PrintOp> ofKind(const QList<PrintOp> &ops, PrintOp::Kind kind)
{
    QList<PrintOp> out;
    for (const PrintOp &op : ops)
        if (op.kind == kind)
            out << op;
    return out;
}

// Checks text items one by one: text, font, size, colour, X, and Y advancing by the line
// height of the font in use when the previous line ended.
void checkItems(const QList<PrintOp> &texts, const QList<Item> &want, double pageWidth)
{
    QCOMPARE(texts.size(), want.size());
    double y = 0, x = 0;
    for (int i = 0; i < want.size(); ++i) {
        const PrintOp &got = texts.at(i);
        const Item &w = want.at(i);
        const QByteArray where = "item " + QByteArray::number(i) + " '" + w.text.toUtf8() + "'";
        QVERIFY2(got.text == w.text, where + " got '" + got.text.toUtf8() + "'");
        QVERIFY2(got.fontName == kTimes, where);
        QVERIFY2(got.fontSize == w.size, where + " size " + QByteArray::number(got.fontSize));
        QVERIFY2(got.color == w.color, where + " colour " + QByteArray::number(got.color));
        double wantX = 0;
        switch (w.x) {
        case Item::Left: wantX = 0; break;
        case Item::Centred: wantX = (pageWidth - width(w.text, w.size)) / 2; break;
        case Item::Eighth: wantX = pageWidth / 8; break;
        case Item::After: wantX = x; break;
        }
        QVERIFY2(qAbs(got.at.x() - wantX) < 0.01, where + " x " + QByteArray::number(got.at.x()));
        QVERIFY2(qAbs(got.at.y() - y) < 0.01, where + " y " + QByteArray::number(got.at.y()) + " want " + QByteArray::number(y));
        if (w.ends) {
            y += step(w.size);
            x = 0;
        } else {
            x = got.at.x() + width(w.text, w.size);
        }
    }
}

PictureHandle rasterPage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return std::make_shared<RasterPicture>(image);
}


enum class Outcome { Prints, NoPrinter, Refused };
} // namespace

Q_DECLARE_METATYPE(Outcome)

class PrintLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerFonts(); }
    void cleanup() { setPrinter(std::make_shared<RecordingPrinter>()); }

    void certificateSteps_data();
    void certificateSteps();
    void certificateBorder_data();
    void certificateBorder();
    void titleSizeInScreenFont_data();
    void titleSizeInScreenFont();
    void worksheetLayout_data();
    void worksheetLayout();
    void worksheetRunsOntoNewPages();
    void pagePrintAtOwnSize_data();
    void pagePrintAtOwnSize();
    void messages_data();
    void messages();
    void printerStartsAfresh();
};

void PrintLayoutTest::certificateSteps_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("outof");
    QTest::addColumn<QString>("sentence");

    QTest::newRow("quiz from a hub") << u"Terravale"_qs << u"Amy Lee"_qs << 10 << 10 << u"You have scored 10 out of 10."_qs;
    QTest::newRow("empty name") << u"Terravale"_qs << QString() << 10 << 10 << u"You have scored 10 out of 10."_qs;
    QTest::newRow("activity before any quiz") << QString() << u"Sam"_qs << 9 << 9 << u"You have scored 9 out of 9."_qs;
    QTest::newRow("activity 5 of 5") << u"Terravale"_qs << u"Jo"_qs << 5 << 5 << u"You have scored 5 out of 5."_qs;
}

void PrintLayoutTest::certificateSteps()
{
    QFETCH(QString, title);
    QFETCH(QString, name);
    QFETCH(int, score);
    QFETCH(int, outof);
    QFETCH(QString, sentence);

    RecordingPrinter p(kA4);
    printCertificate(p, {title, name, score, outof}, [](const QString &) { return 0.0; });
    QCOMPARE(p.jobs.size(), 1);
    QVERIFY(!p.jobOpen());

    const QString banner = certificateBanner();
    QCOMPARE(banner.size(), 118);
    QVERIFY(banner.startsWith(u"   Well Done      Well Done     Well Done     Well Done       Well Done"_qs));
    const QList<Item> want = {
        {u" "_qs, 25, 9, true, Item::Eighth},
        {banner, 25, 9, false, Item::Left},
        {u" "_qs, 25, 9, true, Item::After},
        {u" "_qs, 25, 9, true, Item::Left},
        {u" "_qs, 25, 9, true, Item::Left},
        {u"Terravale"_qs, 36, 12, true, Item::Centred},
        {u" "_qs, 36, 12, true, Item::Left},
        {title, 36, 9, true, Item::Centred},
        {QString(), 36, 9, true, Item::Centred},
        {u" "_qs, 36, 9, true, Item::Left},
        {u" "_qs, 36, 9, true, Item::Left},
        {u" "_qs, 36, 9, true, Item::Left},
        {u"Excellent Work"_qs, 28, 1, true, Item::Centred},
        {u" "_qs, 28, 1, true, Item::Left},
        {name, 28, 1, true, Item::Centred},
        {QString(), 28, 1, true, Item::Centred},
        {sentence, 28, 1, true, Item::Centred},
        {u" "_qs, 28, 1, true, Item::Left},
        {u" "_qs, 36, 1, true, Item::Left},
        {u" "_qs, 36, 1, true, Item::Left},
        {u" "_qs, 25, 9, true, Item::Left},
        {banner, 25, 0, false, Item::Left},
    };
    const QList<PrintOp> &ops = p.jobs.first();
    checkItems(ofKind(ops, PrintOp::Kind::Text), want, kA4.width());
    QVERIFY(ofKind(ops, PrintOp::Kind::NewPage).isEmpty());
    // The text comes first, the border after it.
    QCOMPARE(ops.at(want.size()).kind, PrintOp::Kind::Line);
}

void PrintLayoutTest::certificateBorder_data()
{
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<QLineF>("firstLine");
    QTest::addColumn<QLineF>("innerTop");
    QTest::addColumn<QLineF>("lastLine");
    QTest::newRow("A4") << kA4 << QLineF(45, 270, 11861, 270) << QLineF(645, 7320, 11261, 7320) << QLineF(225, 16388, 11681, 16388);
    QTest::newRow("Letter") << kLetter << QLineF(45, 270, 12195, 270) << QLineF(645, 7320, 11595, 7320) << QLineF(225, 15390, 12015, 15390);
}

void PrintLayoutTest::certificateBorder()
{
    QFETCH(QSizeF, page);
    QFETCH(QLineF, firstLine);
    QFETCH(QLineF, innerTop);
    QFETCH(QLineF, lastLine);

    RecordingPrinter p(page);
    printCertificate(p, {u"Terravale"_qs, u"Amy"_qs, 10, 10}, [](const QString &) { return 0.0; });
    const QList<PrintOp> lines = ofKind(p.jobs.value(0), PrintOp::Kind::Line);
    QCOMPARE(lines.size(), 32);
    auto lineOf = [](const PrintOp &op) { return QLineF(op.at, op.to); };
    QCOMPARE(lineOf(lines.first()), firstLine);
    QCOMPARE(lineOf(lines.at(4)), innerTop);
    QCOMPARE(lineOf(lines.last()), lastLine);

    // Drawing order: outer 1, inner 1, outer 2, inner 2, outer 3, inner 3, outer 4, outer 5;
    // each rectangle top, left, right, bottom.
    const double w = page.width(), h = page.height();
    QList<QRectF> rects;   // as left, top, right, bottom
    for (int i = 0; i < 5; ++i) {
        const double m = 45 + 45 * i, t = 270 + 45 * i;
        rects << QRectF(QPointF(m, t), QPointF(w - m, h - t));
        if (i < 3)
            rects << QRectF(QPointF(m + 600, t + 7050), QPointF(w - m - 600, h - t - 3750));
    }
    for (int r = 0; r < rects.size(); ++r) {
        const QRectF &q = rects.at(r);
        const QList<QLineF> sides = {QLineF(q.topLeft(), q.topRight()), QLineF(q.topLeft(), q.bottomLeft()),
                                     QLineF(q.topRight(), q.bottomRight()), QLineF(q.bottomLeft(), q.bottomRight())};
        for (int s = 0; s < 4; ++s) {
            const PrintOp &got = lines.at(r * 4 + s);
            QVERIFY2(lineOf(got) == sides.at(s), qPrintable(QStringLiteral("rectangle %1 side %2").arg(r).arg(s)));
            QCOMPARE(got.color, 0);
            QCOMPARE(got.lineWidth, 2);
        }
    }
}

void PrintLayoutTest::titleSizeInScreenFont_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<double>("size");
    const QString wide = u"Rubbish, recycling and the resources of the Earth"_qs;
    QTest::newRow("product title") << u"Terravale"_qs << kA4 << 36.0;
    QTest::newRow("wide title") << wide << kA4 << 28.0;
    QTest::newRow("wide title, wide page") << wide << QSizeF(4 * 11906, 16838) << 36.0;
    QTest::newRow("no quiz yet") << QString() << kA4 << 36.0;
}

void PrintLayoutTest::titleSizeInScreenFont()
{
    QFETCH(QString, title);
    QFETCH(QSizeF, page);
    QFETCH(double, size);

    test::DataFolder data;
    auto p = std::make_shared<RecordingPrinter>(page);
    setPrinter(p);
    session().score = session().outof = 10;
    session().quiztitle = title;
    Welldone &results = form<Welldone>();
    // The results screen's own font is Tahoma 8 pt.
    QCOMPARE(results.font().family(), installedFamily(u"Tahoma"_qs));
    QCOMPARE(results.font().pixelSize(), 11);
    results.Text1->setText(u"Amy"_qs);
    results.Label3_Click(0);
    QCOMPARE(data.messages->shown, QStringList{u"Your certificate is now printing."_qs});
    QCOMPARE(p->jobs.size(), 1);
    const QList<PrintOp> texts = ofKind(p->jobs.first(), PrintOp::Kind::Text);
    QCOMPARE(texts.at(7).text, title);
    QCOMPARE(texts.at(7).fontSize, size);
    QCOMPARE(texts.at(8).fontSize, size);   // the empty line after it
    QCOMPARE(texts.at(14).text, u"Amy"_qs);
}

void PrintLayoutTest::worksheetLayout_data()
{
    QTest::addColumn<QSizeF>("page");
    QTest::newRow("A4") << kA4;
    QTest::newRow("Letter") << kLetter;
}

void PrintLayoutTest::worksheetLayout()
{
    QFETCH(QSizeF, page);
    const double w = page.width();

    test::DataFolder data;
    auto p = std::make_shared<RecordingPrinter>(page);
    setPrinter(p);
    const QuestionSet set = quizfixture::sampleSet(u"Bins and tips"_qs);
    session().set = set;
    multiple &quiz = form<multiple>();
    quiz.Label5->setCaption(u"Terravale"_qs);
    quiz.Label3_Click(3);
    QCOMPARE(data.messages->shown, QStringList{u"Your worksheet is now printing."_qs});
    QCOMPARE(p->jobs.size(), 1);
    const QList<PrintOp> &ops = p->jobs.first();
    QVERIFY(ofKind(ops, PrintOp::Kind::NewPage).isEmpty());
    QVERIFY(ofKind(ops, PrintOp::Kind::Line).isEmpty());
    const QList<PrintOp> texts = ofKind(ops, PrintOp::Kind::Text);
    QCOMPARE(texts.size(), 7 + 10 * 6);
    for (const PrintOp &t : texts)
        QCOMPARE(t.fontName, kTimes);

    // Blank line at W/8, header at W/16 in 16 pt, then the line ends and a blank line.
    QCOMPARE(texts.at(0).at, QPointF(w / 8, 0));
    QCOMPARE(texts.at(1).text, u"Terravale"_qs + QString(57, u' ') + u"Quillmark Publishing Ltd"_qs);
    QCOMPARE(texts.at(1).at, QPointF(w / 16, step(16)));
    QCOMPARE(texts.at(1).fontSize, 16.0);
    QCOMPARE(texts.at(2).at.y(), step(16));
    QCOMPARE(texts.at(3).at, QPointF(0, 2 * step(16)));
    // Heading and title centred by their width in 32 pt.
    for (int i : {4, 5}) {
        QCOMPARE(texts.at(i).fontSize, 32.0);
        QVERIFY(qAbs(texts.at(i).at.x() - (w - width(texts.at(i).text, 32)) / 2) < 0.01);
    }
    QCOMPARE(texts.at(4).text, u"Terravale"_qs);
    QCOMPARE(texts.at(5).text, u"Bins and tips"_qs);
    QCOMPARE(texts.at(5).at.y(), 3 * step(16) + step(32));

    const double top = 3 * step(16) + 3 * step(32);
    for (int n = 1; n <= 10; ++n) {
        const int i = 7 + (n - 1) * 6;
        const double y = top + (n - 1) * 4 * step(12);
        const QString num = QString::number(n);
        const QList<QPair<QString, QPointF>> want = {
            {u"Question "_qs + num + u"    Question "_qs + num, QPointF(w / 16, y)},
            {u"A. "_qs + num + u'A', QPointF(w / 3, y + step(12))},
            {u"B. "_qs + num + u'B', QPointF(2 * w / 3, y + step(12))},
            {u"C. "_qs + num + u'C', QPointF(w / 3, y + 2 * step(12))},
            {u"D. "_qs + num + u'D', QPointF(2 * w / 3, y + 2 * step(12))},
            {u" "_qs, QPointF(0, y + 3 * step(12))},
        };
        for (int k = 0; k < want.size(); ++k) {
            const PrintOp &t = texts.at(i + k);
            QCOMPARE(t.text, want.at(k).first);
            QCOMPARE(t.fontSize, 12.0);
            QVERIFY2(qAbs(t.at.x() - want.at(k).second.x()) < 0.01 && qAbs(t.at.y() - want.at(k).second.y()) < 0.01,
                     qPrintable(t.text));
        }
    }
    QVERIFY(isLoaded<multiple>());
}

void PrintLayoutTest::worksheetRunsOntoNewPages()
{
    // A short page: the text goes on over as many pages as it needs, each continuation half an
    // inch from the top, no line closer than half an inch to the bottom.
    test::DataFolder data;
    auto p = std::make_shared<RecordingPrinter>(QSizeF(11906, 5000));
    setPrinter(p);
    session().set = quizfixture::sampleSet();
    form<multiple>().Printpage();
    QCOMPARE(p->jobs.size(), 1);
    const QList<PrintOp> &ops = p->jobs.first();
    QVERIFY(ofKind(ops, PrintOp::Kind::NewPage).size() >= 2);
    double lastY = -1;
    for (int i = 0; i < ops.size(); ++i) {
        const PrintOp &op = ops.at(i);
        if (op.kind == PrintOp::Kind::NewPage) {
            QCOMPARE(ops.at(i + 1).at.y(), 720.0);
            lastY = -1;
            continue;
        }
        QVERIFY(op.at.y() >= lastY);
        QVERIFY(op.at.y() + step(op.fontSize) <= 5000 - 720);
        lastY = op.at.y();
    }
    QCOMPARE(data.messages->shown, QStringList{u"Your worksheet is now printing."_qs});
}

void PrintLayoutTest::pagePrintAtOwnSize_data()
{
    QTest::addColumn<QSize>("pixels");
    QTest::newRow("landscape page") << QSize(700, 500);
    QTest::newRow("portrait page") << QSize(520, 740);
}

void PrintLayoutTest::pagePrintAtOwnSize()
{
    QFETCH(QSize, pixels);
    test::DataFolder data;
    auto p = std::make_shared<RecordingPrinter>();
    setPrinter(p);
    const PictureHandle page = rasterPage(pixels.width(), pixels.height());
    QVERIFY(printPage(page));
    QVERIFY(data.messages->shown.isEmpty());
    QCOMPARE(p->jobs.size(), 1);
    const QList<PrintOp> &ops = p->jobs.first();
    QCOMPARE(ops.size(), 2);
    QCOMPARE(ops.at(0).kind, PrintOp::Kind::Text);   // the empty line that starts the job
    QCOMPARE(ops.at(0).text, QString());
    QCOMPARE(ops.at(1).kind, PrintOp::Kind::Picture);
    QCOMPARE(ops.at(1).at, QPointF(1000, 1000));
    QCOMPARE(ops.at(1).size, QSizeF(pixels) * 15.0);
    QCOMPARE(ops.at(1).picture, page);
}

void PrintLayoutTest::messages_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("message");
    const QString cert = u"Your certificate is now printing."_qs, sheet = u"Your worksheet is now printing."_qs;
    QTest::newRow("certificate prints") << u"certificate"_qs << Outcome::Prints << cert;
    QTest::newRow("certificate, no printer") << u"certificate"_qs << Outcome::NoPrinter << kProblem;
    QTest::newRow("certificate, printer refuses") << u"certificate"_qs << Outcome::Refused << kProblem;
    QTest::newRow("worksheet prints") << u"worksheet"_qs << Outcome::Prints << sheet;
    QTest::newRow("worksheet, no printer") << u"worksheet"_qs << Outcome::NoPrinter << kProblem;
    QTest::newRow("worksheet, printer refuses") << u"worksheet"_qs << Outcome::Refused << kProblem;
    QTest::newRow("page prints") << u"page"_qs << Outcome::Prints << QString();
    QTest::newRow("page, no printer") << u"page"_qs << Outcome::NoPrinter << kProblem;
    QTest::newRow("page, printer refuses") << u"page"_qs << Outcome::Refused << kProblem;
    QTest::newRow("page missing") << u"missing page"_qs << Outcome::Prints << kProblem;
}

void PrintLayoutTest::messages()
{
    QFETCH(QString, what);
    QFETCH(Outcome, outcome);
    QFETCH(QString, message);

    test::DataFolder data;
    auto p = std::make_shared<RecordingPrinter>();
    p->noPrinter = outcome == Outcome::NoPrinter;
    p->refuse = outcome == Outcome::Refused;
    setPrinter(p);
    session().set = quizfixture::sampleSet();
    session().score = session().outof = 10;
    session().soundon = 1;

    if (what == u"certificate"_qs) {
        form<Welldone>().Label3_Click(0);
        QVERIFY(isLoaded<Welldone>());
        QVERIFY(data.sounds->played.isEmpty());   // no click clip after the certificate
    } else if (what == u"worksheet"_qs) {
        form<multiple>().Label3_Click(3);
        QVERIFY(isLoaded<multiple>());
    } else {
        QCOMPARE(printPage(what == u"page"_qs ? rasterPage(80, 60) : PictureHandle()), outcome == Outcome::Prints && what == u"page"_qs);
    }
    QCOMPARE(data.messages->shown, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(p->jobs.size(), message == kProblem ? 0 : 1);
    // A failed job leaves nothing open behind it: the next one starts on a clean page.
    QVERIFY(!p->jobOpen());
    p->noPrinter = p->refuse = false;
    p->print(u"next"_qs);
    p->endDoc();
    QCOMPARE(p->jobs.last().first().at, QPointF(0, 0));
    QCOMPARE(p->jobs.last().first().color, 0);
}

void PrintLayoutTest::printerStartsAfresh()
{
    // After a job the position, colour and font go back to where a new job begins.
    RecordingPrinter p;
    p.setForeColor(12);
    p.setFontName(kTimes);
    p.setFontSize(36);
    p.setDrawWidth(2);
    p.print(u"one"_qs, false);
    QVERIFY(p.currentX() > 0);
    p.endDoc();
    QCOMPARE(p.currentX(), 0.0);
    QCOMPARE(p.currentY(), 0.0);
    QCOMPARE(p.foreColor(), 0);
    QCOMPARE(p.drawWidth(), 1);
    p.endDoc();   // nothing open: no empty job
    QCOMPARE(p.jobs.size(), 1);
    QCOMPARE(p.opened, 1);
}

QTEST_MAIN(PrintLayoutTest)
#include "tst_printlayout.moc"
