// The page viewer and the Teachers' Guide: captions and button states while paging, the files
// each page is shown and printed from, the Acknowledgments logo, and damaged or missing files.
#include "platform/printer.h"
#include "shell/intro0.h"
#include "rules/session.h"
#include "topics/guide.h"
#include "topics/topichub.h"
#include "topics/teacher.h"
#include "testsupport.h"

#include <QTest>
#include <QTimer>

using namespace terravale;

namespace {

void click(Label &label)
{
    QVERIFY2(label.isVisible() && label.isEnabled(), qPrintable(label.caption()));
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
}

// What a step of a walk through the pages should leave on screen.
struct Expect {
    int page;
    bool next, previous;   // enabled
};

void checkViewer(teacher &viewer, const QString &prefix, const QString &firstScreen, const QString &firstPrint,
                 const Expect &e)
{
    QCOMPARE(session().pagenum, e.page);
    QCOMPARE(viewer.Label1->caption(), pageCaption(e.page, session().numpages));
    QCOMPARE(viewer.Label3(2).isEnabled(), e.next);
    QCOMPARE(viewer.Label3(3).isEnabled(), e.previous);
    QCOMPARE(viewer.Image1->fileName(), e.page == 1 ? firstScreen : pageFile(prefix, e.page, false));
    QCOMPARE(viewer.Image2->fileName(), e.page == 1 ? firstPrint : pageFile(prefix, e.page, true));
    QVERIFY(viewer.Image1->picture());
    QVERIFY(viewer.Image2->picture());
    QVERIFY(!viewer.Image2->isVisible());
    QVERIFY(!viewer.missingPage->isVisible());
}

} // namespace

class ViewersTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setPrinter(m_printer); }   // nothing reaches a real printer
    void cleanup() { test::closeAllScreens(); }
    void fileNames_data();
    void fileNames();
    void logoFrameNames_data();
    void logoFrameNames();
    void paging_data();
    void paging();
    void singlePageHasNoNavigation_data();
    void singlePageHasNoNavigation();
    void hubOpensViewer_data();
    void hubOpensViewer();
    void acknowledgments_data();
    void acknowledgments();
    void missingLogoFrameIsSkipped();
    void guidePaging_data();
    void guidePaging();
    void guideHover();
    void damagedPage_data();
    void damagedPage();
    void print_data();
    void print();

private:
    std::shared_ptr<RecordingPrinter> m_printer = std::make_shared<RecordingPrinter>();
};

void ViewersTest::fileNames_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("screenFile");
    QTest::addColumn<QString>("printFile");
    QTest::newRow("key resources 3") << u"key resources"_qs << 3 << u"wmf\\key resourcesc.wmf"_qs << u"wmf2\\key resourcesc.wmf"_qs;
    QTest::newRow("rubbish 1") << u"rubbish"_qs << 1 << u"wmf\\rubbisha.wmf"_qs << u"wmf2\\rubbisha.wmf"_qs;
    QTest::newRow("key rubbish 2") << u"key rubbish"_qs << 2 << u"wmf\\key rubbishb.wmf"_qs << u"wmf2\\key rubbishb.wmf"_qs;
    QTest::newRow("page 5 is e") << u"x"_qs << 5 << u"wmf\\xe.wmf"_qs << u"wmf2\\xe.wmf"_qs;
    QTest::newRow("page 6 has no name") << u"x"_qs << 6 << QString() << QString();
    QTest::newRow("page 0 has no name") << u"x"_qs << 0 << QString() << QString();
}

void ViewersTest::fileNames()
{
    QFETCH(QString, prefix);
    QFETCH(int, page);
    QFETCH(QString, screenFile);
    QFETCH(QString, printFile);
    QCOMPARE(pageFile(prefix, page, false), screenFile);
    QCOMPARE(pageFile(prefix, page, true), printFile);
}

void ViewersTest::logoFrameNames_data()
{
    QTest::addColumn<int>("frame");
    QTest::addColumn<QString>("file");
    QTest::newRow("0") << 0 << u"logo\\quil0000.gif"_qs;
    QTest::newRow("9") << 9 << u"logo\\quil0009.gif"_qs;
    QTest::newRow("10") << 10 << u"logo\\quil0010.gif"_qs;
    QTest::newRow("19") << 19 << u"logo\\quil0019.gif"_qs;
}

void ViewersTest::logoFrameNames()
{
    QFETCH(int, frame);
    QFETCH(QString, file);
    QCOMPARE(logoFrameFile(frame), file);
}

void ViewersTest::paging_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("clicks");   // N next, P previous
    QTest::addColumn<QList<Expect>>("steps"); // after opening, then after each click
    QTest::newRow("2 pages there and back") << 2 << u"key rubbish"_qs << u"NP"_qs
                                            << QList<Expect>{{1, true, false}, {2, false, true}, {1, true, false}};
    QTest::newRow("2 notes pages") << 2 << u"rubbish"_qs << u"N"_qs << QList<Expect>{{1, true, false}, {2, false, true}};
    QTest::newRow("5 pages to the end") << 5 << u"key resources"_qs << u"NNNN"_qs
                                        << QList<Expect>{{1, true, false}, {2, true, true}, {3, true, true},
                                                         {4, true, true}, {5, false, true}};
    QTest::newRow("5 pages back from the end") << 5 << u"key resources"_qs << u"NNNNPPPP"_qs
                                               << QList<Expect>{{1, true, false}, {2, true, true}, {3, true, true},
                                                                {4, true, true}, {5, false, true}, {4, true, true},
                                                                {3, true, true}, {2, true, true}, {1, true, false}};
}

void ViewersTest::paging()
{
    QFETCH(int, pages);
    QFETCH(QString, prefix);
    QFETCH(QString, clicks);
    QFETCH(QList<Expect>, steps);
    test::DataFolder data;
    const QString first = pageFile(prefix, 1, false), firstPrint = pageFile(prefix, 1, true);
    openPages(pages, prefix, first, firstPrint);
    teacher *viewer = loadedForm<teacher>();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(session().numpages, pages);
    QVERIFY(viewer->Label1->isVisible());
    checkViewer(*viewer, prefix, first, firstPrint, steps[0]);
    for (int i = 0; i < clicks.size() && !QTest::currentTestFailed(); ++i) {
        click(viewer->Label3(clicks[i] == u'N' ? 2 : 3));
        checkViewer(*viewer, prefix, first, firstPrint, steps[i + 1]);
    }
    if (QTest::currentTestFailed())
        return;
    QVERIFY(data.messages->shown.isEmpty());
    QVERIFY(!viewer->Timer1->isActive());
    click(viewer->Label3(1));
    QVERIFY(!isLoaded<teacher>());
}

void ViewersTest::singlePageHasNoNavigation_data()
{
    QTest::addColumn<bool>("acknowledgments");
    QTest::newRow("resources notes") << false;
    QTest::newRow("acknowledgments") << true;
}

void ViewersTest::singlePageHasNoNavigation()
{
    QFETCH(bool, acknowledgments);
    test::DataFolder data;
    session().numpages = 2;   // left from an earlier document: the Acknowledgments hide navigation themselves
    if (acknowledgments)
        openAcknowledgments();
    else
        openPages(1, u"resources"_qs, u"wmf\\resources.wmf"_qs, u"wmf2\\resources.wmf"_qs);
    teacher &viewer = *loadedForm<teacher>();
    QVERIFY(viewer.isVisible());
    QVERIFY(!viewer.Label1->isVisible());
    QVERIFY(!viewer.Label3(2).isVisible());
    QVERIFY(!viewer.Label3(3).isVisible());
    QVERIFY(viewer.Label3(0).isVisible());
    QVERIFY(viewer.Label3(1).isVisible());
    QVERIFY(viewer.Image1->picture());
    QCOMPARE(viewer.Image2->fileName(), acknowledgments ? u"wmf2\\acknowledgments.wmf"_qs : u"wmf2\\resources.wmf"_qs);
    QCOMPARE(viewer.Timer1->isActive(), acknowledgments);
    QCOMPARE(viewer.backColor(), acknowledgments ? QColor(49, 130, 212) : QColor(39, 63, 137));
}

void ViewersTest::hubOpensViewer_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("screenFile");
    QTest::addColumn<QString>("printFile");
    QTest::newRow("key facts") << 4 << 2 << u"wmf\\key rubbisha.wmf"_qs << u"wmf2\\key rubbisha.wmf"_qs;
    QTest::newRow("teacher's notes") << 5 << 2 << u"wmf\\rubbisha.wmf"_qs << u"wmf2\\rubbisha.wmf"_qs;
}

void ViewersTest::hubOpensViewer()
{
    QFETCH(int, index);
    QFETCH(int, pages);
    QFETCH(QString, screenFile);
    QFETCH(QString, printFile);
    test::DataFolder data;
    session().numpages = 1;   // a one-page document read before must not hide this one's navigation
    session().soundon = 1;
    TopicHub &hub = topicHub(u"rubbish"_qs);
    hub.showInFront();
    click(hub.Label3(index));
    teacher *viewer = loadedForm<teacher>();
    QVERIFY(viewer && viewer->isVisible());
    QVERIFY(hub.isVisible());
    QCOMPARE(viewer->Label1->caption(), pageCaption(1, pages));
    QVERIFY(viewer->Label1->isVisible() && viewer->Label3(2).isVisible());
    QCOMPARE(viewer->Image1->fileName(), screenFile);
    QCOMPARE(viewer->Image2->fileName(), printFile);
    QCOMPARE(data.sounds->played, QStringList{u"wav\\click.wav"_qs});
}

void ViewersTest::acknowledgments_data()
{
    QTest::addColumn<int>("startFrame");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("reopenTicks");
    QTest::addColumn<int>("endFrame");
    QTest::newRow("from 0") << 0 << 3 << 2 << 5;
    QTest::newRow("wraps 19 to 0") << 18 << 2 << 1 << 1;
    QTest::newRow("a whole turn") << 7 << 20 << 0 << 7;
}

void ViewersTest::acknowledgments()
{
    QFETCH(int, startFrame);
    QFETCH(int, ticks);
    QFETCH(int, reopenTicks);
    QFETCH(int, endFrame);
    test::DataFolder data;
    session().logoframe = startFrame;
    intro0 &menu = form<intro0>();
    menu.showInFront();
    click(menu.Label2(19));
    teacher *viewer = loadedForm<teacher>();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(viewer->Timer1->interval(), 25);
    QVERIFY(viewer->Timer1->isActive());
    QVERIFY(!viewer->Picture1->isVisible());
    QCOMPARE(viewer->Picture2->fileName(), u"logo\\quillmark2.bmp"_qs);
    for (int i = 0; i < ticks; ++i)
        viewer->Timer1_Timer();
    const int middle = (startFrame + ticks) % 20;
    QCOMPARE(session().logoframe, middle);
    QVERIFY(viewer->Picture1->isVisible() && viewer->Picture2->isVisible());
    QCOMPARE(viewer->logoFrameShown(), logoFrameFile(middle));
    QCOMPARE(viewer->Picture1->picture()->sizePixels(), QSize(120, 120));

    // Leaving and coming back carries on from the frame shown last.
    click(viewer->Label3(1));
    QVERIFY(!isLoaded<teacher>());
    QVERIFY(menu.isVisible());
    click(menu.Label2(19));
    viewer = loadedForm<teacher>();
    QVERIFY(viewer->Timer1->isActive());
    QCOMPARE(session().logoframe, middle);
    for (int i = 0; i < reopenTicks; ++i)
        viewer->Timer1_Timer();
    QCOMPARE(session().logoframe, endFrame);
    if (reopenTicks)
        QCOMPARE(viewer->logoFrameShown(), logoFrameFile(endFrame));
    // The real timer animates too.
    const int before = session().logoframe;
    QTRY_VERIFY_WITH_TIMEOUT(session().logoframe != before, 1000);
}

void ViewersTest::missingLogoFrameIsSkipped()
{
    test::DataFolder data;
    data.remove(u"logo/quil0003.gif"_qs);
    session().logoframe = 1;
    openAcknowledgments();
    teacher &viewer = *loadedForm<teacher>();
    viewer.Timer1->stop();
    viewer.Timer1_Timer();
    QCOMPARE(viewer.logoFrameShown(), logoFrameFile(2));
    const PictureHandle second = viewer.Picture1->picture();
    QVERIFY(second);
    viewer.Timer1_Timer();
    QCOMPARE(session().logoframe, 3);
    QCOMPARE(viewer.logoFrameShown(), logoFrameFile(2));   // the last frame stays
    QCOMPARE(viewer.Picture1->picture(), second);
    viewer.Timer1_Timer();
    QCOMPARE(viewer.logoFrameShown(), logoFrameFile(4));
    QVERIFY(viewer.Picture1->picture() && viewer.Picture1->picture() != second);
    QVERIFY(data.messages->shown.isEmpty());
}

void ViewersTest::guidePaging_data()
{
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("next");
    QTest::addColumn<bool>("previous");
    QTest::newRow("opened") << QString() << 1 << true << false;
    QTest::newRow("page 2") << u"N"_qs << 2 << true << true;
    QTest::newRow("page 3 goes on") << u"NN"_qs << 3 << true << true;
    QTest::newRow("page 4") << u"NNN"_qs << 4 << true << true;
    QTest::newRow("page 5 is the last") << u"NNNN"_qs << 5 << false << true;
    QTest::newRow("back from 5") << u"NNNNP"_qs << 4 << true << true;
    QTest::newRow("back from 3 to 2") << u"NNP"_qs << 2 << true << true;
    QTest::newRow("back to 1") << u"NP"_qs << 1 << true << false;
}

void ViewersTest::guidePaging()
{
    QFETCH(QString, clicks);
    QFETCH(int, page);
    QFETCH(bool, next);
    QFETCH(bool, previous);
    test::DataFolder data;
    session().pagenum = 4;   // from another document
    intro0 &menu = form<intro0>();
    menu.showInFront();
    click(menu.Label2(20));
    guide *g = loadedForm<guide>();
    QVERIFY(g && g->isVisible());
    QCOMPARE(session().pagenum, 1);
    for (const QChar c : clicks)
        click(g->Label3(c == u'N' ? 2 : 3));
    QCOMPARE(session().pagenum, page);
    QCOMPARE(g->Label1->caption(), u"Page %1 of 5"_qs.arg(page));
    QCOMPARE(g->Label3(2).isEnabled(), next);
    QCOMPARE(g->Label3(3).isEnabled(), previous);
    QCOMPARE(g->Image1->fileName(), u"wmf\\guide%1.wmf"_qs.arg(page));
    QCOMPARE(g->Image2->fileName(), u"wmf2\\guide%1.wmf"_qs.arg(page));
    QVERIFY(g->Image1->picture() && g->Image1->isVisible() && !g->Image2->isVisible());
    click(g->Label3(1));
    QVERIFY(!isLoaded<guide>());
    QVERIFY(menu.isVisible());
}

void ViewersTest::guideHover()
{
    test::DataFolder data;
    openGuide();
    guide &g = *loadedForm<guide>();
    for (int i = 0; i <= 3; ++i)
        QVERIFY(g.Label3(i).isOpaque());
    // Over the page or the bare background the buttons turn transparent, and stay so over a button.
    QTest::mouseMove(g.Image1, QPoint(200, 200));
    QTest::mouseMove(&g, QPoint(790, 300));
    QTest::mouseMove(&g.Label3(2), QPoint(10, 10));
    for (int i = 0; i <= 3; ++i)
        QVERIFY2(!g.Label3(i).isOpaque(), qPrintable(g.Label3(i).caption()));
    // The page viewer keeps its buttons opaque.
    openPages(2, u"key rubbish"_qs, u"wmf\\key rubbisha.wmf"_qs, u"wmf2\\key rubbisha.wmf"_qs);
    teacher &viewer = *loadedForm<teacher>();
    QTest::mouseMove(&viewer, QPoint(790, 300));
    QTest::mouseMove(viewer.Image1, QPoint(200, 200));
    for (int i = 0; i <= 3; ++i)
        QVERIFY(viewer.Label3(i).isOpaque());
}

void ViewersTest::damagedPage_data()
{
    QTest::addColumn<QString>("file");         // page 2's file that is spoiled
    QTest::addColumn<QByteArray>("bytes");     // empty: removed
    QTest::addColumn<bool>("screenShown");
    QTest::newRow("screen page missing") << u"wmf/key rubbishb.wmf"_qs << QByteArray() << false;
    QTest::newRow("print page missing") << u"wmf2/key rubbishb.wmf"_qs << QByteArray() << true;
    QTest::newRow("screen page is garbage") << u"wmf/key rubbishb.wmf"_qs << QByteArray("not a metafile at all") << false;
    QTest::newRow("screen page cut short") << u"wmf/key rubbishb.wmf"_qs << QByteArray("\xd7\xcd\xc6\x9a\x00\x00", 6) << false;
    QTest::newRow("print page is garbage") << u"wmf2/key rubbishb.wmf"_qs << QByteArray(4000, '\xff') << true;
}

void ViewersTest::damagedPage()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, screenShown);
    test::DataFolder data;
    if (bytes.isEmpty())
        data.remove(file);
    else
        data.write(file, bytes);
    openPages(2, u"key rubbish"_qs, u"wmf\\key rubbisha.wmf"_qs, u"wmf2\\key rubbisha.wmf"_qs);
    teacher &viewer = *loadedForm<teacher>();
    click(viewer.Label3(2));
    QCOMPARE(viewer.missingPage->isVisible(), !screenShown);
    QCOMPARE(viewer.missingPage->caption(), kPageNotShown);
    QCOMPARE(bool(viewer.Image1->picture()), screenShown);
    const bool printable = file.startsWith(u"wmf/"_qs);
    QCOMPARE(bool(viewer.Image2->picture()), printable);
    QCOMPARE(viewer.Label1->caption(), u"Page 2 of 2"_qs);
    if (!printable) {
        // Print has nothing to print and says so.
        click(viewer.Label3(0));
        QCOMPARE(data.messages->shown, QStringList{kPageNotShown});
    }
    // Paging back still works.
    click(viewer.Label3(3));
    QVERIFY(!viewer.missingPage->isVisible());
    QVERIFY(viewer.Image1->picture() && viewer.Image2->picture());
    QCOMPARE(session().pagenum, 1);
}

void ViewersTest::print_data()
{
    QTest::addColumn<QString>("document");   // keyfacts, acknowledgments or guide
    QTest::addColumn<bool>("noPrinter");
    QTest::addColumn<QString>("printed");     // the print version expected on paper
    QTest::newRow("key facts page 2") << u"keyfacts"_qs << false << u"wmf2\\key resourcesb.wmf"_qs;
    QTest::newRow("acknowledgments, not the logo") << u"acknowledgments"_qs << false << u"wmf2\\acknowledgments.wmf"_qs;
    QTest::newRow("guide page 2") << u"guide"_qs << false << u"wmf2\\guide2.wmf"_qs;
    QTest::newRow("key facts, no printer") << u"keyfacts"_qs << true << QString();
    QTest::newRow("guide, no printer") << u"guide"_qs << true << QString();
}

void ViewersTest::print()
{
    QFETCH(QString, document);
    QFETCH(bool, noPrinter);
    QFETCH(QString, printed);
    test::DataFolder data;
    m_printer->jobs.clear();
    m_printer->noPrinter = noPrinter;
    Screen *screen = nullptr;
    Picture *printVersion = nullptr;
    Label *printButton = nullptr;
    if (document == u"guide"_qs) {
        openGuide();
        guide &g = *loadedForm<guide>();
        click(g.Label3(2));
        screen = &g;
        printVersion = g.Image2;
        printButton = &g.Label3(0);
    } else {
        if (document == u"acknowledgments"_qs) {
            openAcknowledgments();
        } else {
            openPages(5, u"key resources"_qs, u"wmf\\key resourcesa.wmf"_qs, u"wmf2\\key resourcesa.wmf"_qs);
            click(loadedForm<teacher>()->Label3(2));
        }
        teacher &viewer = *loadedForm<teacher>();
        screen = &viewer;
        printVersion = viewer.Image2;
        printButton = &viewer.Label3(0);
    }
    const int page = session().pagenum;
    click(*printButton);

    if (noPrinter) {
        QCOMPARE(data.messages->shown, QStringList{u"There was a problem printing to your printer."_qs});
        QVERIFY(m_printer->jobs.isEmpty());
    } else {
        QVERIFY(data.messages->shown.isEmpty());
        QCOMPARE(printVersion->fileName(), printed);
        QCOMPARE(m_printer->jobs.size(), 1);
        QList<PrintOp> pictures;
        for (const PrintOp &op : m_printer->jobs.first())
            if (op.kind == PrintOp::Kind::Picture)
                pictures << op;
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(pictures.first().picture, printVersion->picture());
        QCOMPARE(pictures.first().at, QPointF(1000, 1000));
        QCOMPARE(pictures.first().size, QSizeF(9900, 14400));   // its own size: the A4 print page
    }
    // Printing changes nothing on screen.
    QVERIFY(screen->isVisible());
    QCOMPARE(session().pagenum, page);
}

QTEST_MAIN(ViewersTest)
#include "tst_viewers.moc"
