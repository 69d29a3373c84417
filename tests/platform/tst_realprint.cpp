// The real printer: certificate, worksheet and page go through CUPS to the PDF printer that
// tools/services.sh makes the default, and each PDF is read back (pages, paper, text, pixels).
#include "platform/printer.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "rules/session.h"
#include "topics/pageprint.h"
#include "testsupport.h"
#include "quizfixture.h"

#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <cups/cups.h>

using namespace terravale;

namespace {
const QString kProblem = u"There was a problem printing to your printer."_qs;

QString run(const QString &program, const QStringList &args, bool *ok = nullptr)
{
    QProcess p;
    p.start(program, args);
    const bool done = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (ok)
        *ok = done;
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The PDF cups-pdf made of job `id`, once it is complete; empty after 30 s without one.
QString waitForPdf(int id, const QDateTime &since)
{
    const QDir dir(qEnvironmentVariable("TERRAVALE_PDF_DIR"));
    const QString suffix = u"-job_"_qs + QString::number(id) + u".pdf"_qs;
    for (int i = 0; i < 300; ++i) {
        for (const QFileInfo &f : dir.entryInfoList({u"*"_qs + suffix}, QDir::Files)) {
            bool ok = false;
            if (f.lastModified() >= since.addSecs(-1)) {
                run(u"pdfinfo"_qs, {f.filePath()}, &ok);
                if (ok)
                    return f.filePath();
            }
        }
        QTest::qWait(100);
    }
    return {};
}

int pageCount(const QString &pdf)
{
    const QString info = run(u"pdfinfo"_qs, {pdf});
    for (const QString &line : info.split(u'\n'))
        if (line.startsWith(u"Pages:"_qs))
            return line.mid(6).trimmed().toInt();
    return -1;
}

QString pageSize(const QString &pdf)
{
    for (const QString &line : run(u"pdfinfo"_qs, {pdf}).split(u'\n'))
        if (line.startsWith(u"Page size:"_qs))
            return line.mid(10).trimmed();
    return {};
}

// Text of the PDF with runs of blanks made single.
QString pdfText(const QString &pdf)
{
    return run(u"pdftotext"_qs, {u"-layout"_qs, pdf, u"-"_qs}).simplified();
}

void setPaper(const QString &size)
{
    bool ok = false;
    run(u"lpadmin"_qs, {u"-p"_qs, u"PDF"_qs, u"-o"_qs, u"media-default="_qs + size}, &ok);
    QVERIFY2(ok, "lpadmin could not set the paper");
}

} // namespace

class RealPrintTest : public QObject {
    Q_OBJECT
    std::shared_ptr<CupsPrinter> m_printer;

private slots:
    void initTestCase();
    void cleanup();
    void printsThroughCups_data();
    void printsThroughCups();
    void pagePrintPlacesThePicture();
    void failures_data();
    void failures();
};

void RealPrintTest::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER") || qEnvironmentVariableIsEmpty("TERRAVALE_PDF_DIR"))
        QSKIP("no test printer: run under tools/services.sh (./test does)");
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    QVERIFY2(dest, "the test CUPS server has no default printer");
    QCOMPARE(QString::fromUtf8(dest->name), u"PDF"_qs);
    cupsFreeDests(1, dest);
    m_printer = std::make_shared<CupsPrinter>();
}

void RealPrintTest::cleanup()
{
    setPrinter(std::make_shared<RecordingPrinter>());
}

void RealPrintTest::printsThroughCups_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("paper");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("sizeLine");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("message");
    const QStringList cert = {u"Well Done Well Done Well Done Well Done"_qs, u"Terravale"_qs, u"Excellent Work"_qs,
                              u"Amy Lee"_qs, u"You have scored 10 out of 10."_qs};
    const QStringList sheet = {u"Quillmark Publishing Ltd"_qs, u"Bins and tips"_qs, u"Question 1 Question 1"_qs,
                               u"A. 1A"_qs, u"B. 1B"_qs, u"C. 10C"_qs, u"D. 10D"_qs};
    QTest::newRow("certificate, A4") << u"certificate"_qs << u"iso_a4_210x297mm"_qs << 1 << u"(A4)"_qs << cert
                                     << u"Your certificate is now printing."_qs;
    QTest::newRow("certificate, Letter") << u"certificate"_qs << u"na_letter_8.5x11in"_qs << 1 << u"612 x 792 pts (letter)"_qs << cert
                                         << u"Your certificate is now printing."_qs;
    QTest::newRow("worksheet, A4") << u"worksheet"_qs << u"iso_a4_210x297mm"_qs << 1 << u"(A4)"_qs << sheet
                                   << u"Your worksheet is now printing."_qs;
    // On A5 the header runs off the side of the page, and the questions onto a second page.
    const QStringList small = {u"Bins and tips"_qs, u"Question 1 Question 1"_qs, u"A. 1A"_qs, u"D. 10D"_qs};
    QTest::newRow("worksheet, A5 runs on") << u"worksheet"_qs << u"iso_a5_148x210mm"_qs << 2 << u"x 595 pts"_qs << small
                                           << u"Your worksheet is now printing."_qs;
}

void RealPrintTest::printsThroughCups()
{
    QFETCH(QString, what);
    QFETCH(QString, paper);
    QFETCH(int, pages);
    QFETCH(QString, sizeLine);
    QFETCH(QStringList, texts);
    QFETCH(QString, message);

    test::DataFolder data;
    setPrinter(m_printer);
    setPaper(paper);
    auto restore = qScopeGuard([] { setPaper(u"iso_a4_210x297mm"_qs); });
    const int before = m_printer->lastJobId();
    const QDateTime since = QDateTime::currentDateTime();
    if (what == u"certificate"_qs) {
        session().score = session().outof = 10;
        session().quiztitle = u"Terravale"_qs;
        Welldone &results = form<Welldone>();
        results.Text1->setText(u"Amy Lee"_qs);
        results.Label3_Click(0);
    } else {
        session().set = quizfixture::sampleSet(u"Bins and tips"_qs);
        multiple &quiz = form<multiple>();
        quiz.Label5->setCaption(u"Terravale"_qs);
        quiz.Label3_Click(3);
    }
    QCOMPARE(data.messages->shown, QStringList{message});
    QVERIFY(m_printer->lastJobId() > before);

    const QString pdf = waitForPdf(m_printer->lastJobId(), since);
    QVERIFY2(!pdf.isEmpty(), "no PDF arrived");
    QCOMPARE(pageCount(pdf), pages);
    QVERIFY2(pageSize(pdf).contains(sizeLine), qPrintable(pageSize(pdf)));
    const QString text = pdfText(pdf);
    for (const QString &want : texts)
        QVERIFY2(text.contains(want), qPrintable(want + u" not in: "_qs + text.left(400)));
    QVERIFY(!text.contains(u"Sample set"_qs));
}

void RealPrintTest::pagePrintPlacesThePicture()
{
    // A red 300 x 200 pixel page: 4500 x 3000 twips from 1000, 1000 twips (50, 50 points).
    test::DataFolder data;
    setPrinter(m_printer);
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QDateTime since = QDateTime::currentDateTime();
    QVERIFY(printPage(std::make_shared<RasterPicture>(image)));
    QVERIFY(data.messages->shown.isEmpty());
    const QString pdf = waitForPdf(m_printer->lastJobId(), since);
    QVERIFY2(!pdf.isEmpty(), "no PDF arrived");
    QCOMPARE(pageCount(pdf), 1);

    const QString stem = data.file(u"page"_qs);
    bool ok = false;
    run(u"pdftoppm"_qs, {u"-r"_qs, u"72"_qs, u"-png"_qs, u"-singlefile"_qs, pdf, stem}, &ok);
    QVERIFY(ok);
    const QImage shot(stem + u".png"_qs);
    QVERIFY(!shot.isNull());
    auto red = [&](int x, int y) {
        const QColor c = shot.pixelColor(x, y);
        return c.red() > 200 && c.green() < 60 && c.blue() < 60;
    };
    QVERIFY(red(52, 52));
    QVERIFY(red(50 + 225 - 3, 50 + 150 - 3));
    QVERIFY(!red(46, 60));
    QVERIFY(!red(60, 46));
    QVERIFY(!red(50 + 225 + 3, 100));
    QVERIFY(!red(100, 50 + 150 + 3));
}

void RealPrintTest::failures_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("what");
    QTest::newRow("no default printer, certificate") << u"no server"_qs << u"certificate"_qs;
    QTest::newRow("no default printer, worksheet") << u"no server"_qs << u"worksheet"_qs;
    QTest::newRow("no default printer, page") << u"no server"_qs << u"page"_qs;
    QTest::newRow("printer refuses jobs, certificate") << u"rejecting"_qs << u"certificate"_qs;
    QTest::newRow("printer refuses jobs, page") << u"rejecting"_qs << u"page"_qs;
}

void RealPrintTest::failures()
{
    QFETCH(QString, cause);
    QFETCH(QString, what);

    test::DataFolder data;
    setPrinter(m_printer);
    const int before = m_printer->lastJobId();
    if (cause == u"no server"_qs) {
        cupsSetServer("/nonexistent/terravale/cups.sock");
    } else {
        bool ok = false;
        run(u"cupsreject"_qs, {u"PDF"_qs}, &ok);
        QVERIFY(ok);
    }
    auto restore = qScopeGuard([&] {
        cupsSetServer(nullptr);
        if (cause == u"rejecting"_qs)
            run(u"cupsaccept"_qs, {u"PDF"_qs});
    });

    session().score = session().outof = 10;
    session().soundon = 1;
    session().set = quizfixture::sampleSet();
    if (what == u"certificate"_qs) {
        form<Welldone>().Label3_Click(0);
        QVERIFY(data.sounds->played.isEmpty());
    } else if (what == u"worksheet"_qs) {
        form<multiple>().Label3_Click(3);
    } else {
        QImage image(40, 40, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(!printPage(std::make_shared<RasterPicture>(image)));
    }
    QCOMPARE(data.messages->shown, QStringList{kProblem});
    QCOMPARE(m_printer->lastJobId(), before);
    QVERIFY(!m_printer->jobOpen());
}

QTEST_MAIN(RealPrintTest)
#include "tst_realprint.moc"
