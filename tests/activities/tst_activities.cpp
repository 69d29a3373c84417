// The four activity screens: their data, their load state, and dragging with the mouse on real widgets.
#include "activities/activityscreen.h"
#include "rules/topictable.h"
#include "platform/screen.h"
#include "rules/results.h"
#include "quiz/welldone.h"
#include "platform/sound.h"
#include "rules/session.h"
#include "testsupport.h"
#include "topics/topichub.h"

#include <QTest>
#include <QWindow>

using namespace terravale;

namespace {
const QString kThud = u"wav\\thud3.wav"_qs;
const QString kClick = u"wav\\click.wav"_qs;

ActivityScreen &open(const QString &name)
{
    return activityScreen(activityDef(name));
}

// Notes whether the activity was still loaded when each clip was asked for.
class OrderPlayer : public SoundPlayer {
public:
    void play(const QString &path) override
    {
        played.append(path);
        loaded.append(loadedActivity(u"rubbishlab"_qs) != nullptr);
    }
    QStringList played;
    QList<bool> loaded;
};

ActivityScreen &shown(const QString &name)
{
    ActivityScreen &screen = open(name);
    screen.Label6->setCaption(name.startsWith(u"rubbish") ? u"Rubbish"_qs : u"Resources"_qs);
    screen.showInFront();
    if (!QTest::qWaitForWindowExposed(&screen))
        qFatal("activity not exposed");
    return screen;
}

QPoint centreOf(const QWidget &w)
{
    return w.geometry().center();
}

// Press on the label's centre, move in steps to the target (window pixels), release there.
void dragTo(ActivityScreen &screen, int label, QPoint target, Qt::MouseButton button = Qt::LeftButton)
{
    QWindow *window = screen.windowHandle();
    const QPoint start = centreOf(screen.Label2(label));
    QTest::mousePress(window, button, {}, start);
    for (int step = 1; step <= 8; ++step)
        QTest::mouseMove(window, start + (target - start) * step / 8);
    QTest::mouseRelease(window, button, {}, target);
}

void click(ActivityScreen &screen, QWidget &button)
{
    QTest::mouseClick(screen.windowHandle(), Qt::LeftButton, {}, centreOf(button));
}

bool onBox(const ActivityScreen &screen, int label, int box)
{
    return screen.Label2(label).leftTw() == screen.Label1(box).leftTw()
        && screen.Label2(label).topTw() == screen.Label1(box).topTw();
}

// Every label of the activity dropped into its own box through the engine's handlers.
void placeAllRight(ActivityScreen &screen)
{
    for (const auto &[i, label] : screen.Label2.items()) {
        const Label &box = screen.Label1(i);
        screen.Label2_MouseMove(i, 1, box.leftTw() - label->leftTw() + label->widthTw() / 2,
                                box.topTw() - label->topTw() + label->heightTw() / 2);
        screen.Label2_MouseUp(i);
    }
}

void activities()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"rubbishlab", "resourceslab", "rubbishord", "resourcesord"})
        QTest::newRow(name) << QString::fromLatin1(name);
}
} // namespace

class ActivitiesTest : public QObject {
    Q_OBJECT
private slots:
    void sizes_data();
    void sizes();
    void answerKey_data();
    void answerKey();
    void staticTexts_data();
    void staticTexts();
    void loadState_data();
    void loadState();
    void missingPictureLeavesFrameEmpty();
    void dragIntoBoxes_data();
    void dragIntoBoxes();
    void rightButtonDragDoesNotMove();
    void labelFollowsPointerOffItself();
    void startAgain();
    void exitSetsScoreZeroThenClicks();
    void soundOffPlaysNothing();
    void hoverRule();
    void resultsAreOutOfOwnItems_data();
    void resultsAreOutOfOwnItems();
    void labelReleasedOffScreenGoesBack_data();
    void labelReleasedOffScreenGoesBack();
};

void ActivitiesTest::sizes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("n");
    QTest::addColumn<QSizeF>("item");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("align");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QColor>("background");
    QTest::newRow("rubbishlab") << u"rubbishlab"_qs << 4 << QSizeF(1845, 375) << 11.25 << int(Qt::AlignHCenter) << 4
                                << QColor(39, 63, 137);
    QTest::newRow("resourceslab") << u"resourceslab"_qs << 5 << QSizeF(2145, 915) << 11.25 << int(Qt::AlignHCenter)
                                  << 1 << QColor(25, 50, 134);
    QTest::newRow("rubbishord") << u"rubbishord"_qs << 5 << QSizeF(4995, 495) << 15.75 << int(Qt::AlignRight) << 0
                                << QColor(39, 63, 137);
    QTest::newRow("resourcesord") << u"resourcesord"_qs << 9 << QSizeF(2955, 675) << 11.25 << int(Qt::AlignHCenter)
                                  << 0 << QColor(39, 63, 137);
}

void ActivitiesTest::sizes()
{
    QFETCH(QString, name);
    QFETCH(int, n);
    QFETCH(QSizeF, item);
    QFETCH(double, points);
    QFETCH(int, align);
    QFETCH(int, pictures);
    QFETCH(QColor, background);
    test::DataFolder data;
    session().outof = 10;
    ActivityScreen &screen = open(name);
    QCOMPARE(session().outof, n);
    QCOMPARE(int(screen.Label2.items().size()), n);
    QCOMPARE(int(screen.Label1.items().size()), n);
    QCOMPARE(int(screen.Label4.items().size()), n);
    QCOMPARE(int(screen.Image1.items().size()), pictures);
    QCOMPARE(screen.backColor(), background);
    QCOMPARE(screen.windowTitle(), u"Terravale"_qs);
    for (int i = 0; i < n; ++i) {
        for (const Label *l : {&screen.Label1(i), &screen.Label2(i), &screen.Label4(i)}) {
            QCOMPARE(l->widthTw(), float(item.width()));
            QCOMPARE(l->heightTw(), float(item.height()));
        }
        const Label &answer = screen.Label2(i);
        QCOMPARE(answer.alignment(), Qt::Alignment(align));
        QVERIFY(answer.font().bold());
        QCOMPARE(answer.font().pixelSize(), qRound(points * 96 / 72));
        QCOMPARE(answer.foreColor(), QColor(255, 255, 0));
        QCOMPARE(answer.backColor(), QColor(0, 0, 0));
        QVERIFY(answer.isOpaque() && answer.hasBorder());
        QVERIFY(!screen.Label1(i).isOpaque() && screen.Label1(i).hasBorder());
        QVERIFY(!screen.Label4(i).isOpaque() && screen.Label4(i).hasBorder());
    }
}

void ActivitiesTest::answerKey_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QPointF>("box");
    QTest::addColumn<QPointF>("slot");
    const auto row = [](const char *name, int item, const char *answer, QPointF box, QPointF slot) {
        QTest::addRow("%s %d", name, item) << QString::fromLatin1(name) << item << QString::fromLatin1(answer) << box
                                           << slot;
    };
    row("rubbishlab", 0, "Bottle Bank", {8880, 2880}, {3600, 2040});
    row("rubbishlab", 1, "Incinerator", {9000, 7300}, {5520, 2040});
    row("rubbishlab", 2, "Landfill", {4560, 7300}, {5520, 2520});
    row("rubbishlab", 3, "Clothes Bank", {720, 5040}, {3600, 2520});
    row("resourceslab", 0, "Solar Power in the southern desert.", {8520, 4920}, {120, 5880});
    row("resourceslab", 1, "Tidal Power from a barrier across a harbour.", {7680, 2160}, {2340, 5880});
    row("resourceslab", 2, "Water Power on a river flowing from the mountains.", {7800, 720}, {4560, 6840});
    row("resourceslab", 3, "Wave Power produced far out at sea.", {480, 2160}, {120, 6840});
    row("resourceslab", 4, "Wind Power in the windy western hills.", {4440, 3360}, {2340, 6840});
    row("rubbishord", 0, "Animals can get trapped inside", {240, 3240}, {960, 6780});
    row("rubbishord", 1, "Paper litter", {240, 1320}, {6000, 7320});
    row("rubbishord", 2, "Broken bottles can cut people", {240, 5160}, {6000, 6780});
    row("rubbishord", 3, "Animals sometimes die", {240, 2280}, {960, 7320});
    row("rubbishord", 4, "Glass can start fires by acting", {240, 4200}, {3480, 6240});
    row("resourcesord", 0, "The movement of air is used to generate power.", {2520, 1200}, {7440, 5640});
    row("resourcesord", 1, "Suitable for windy climates.", {2520, 2160}, {7440, 6360});
    row("resourcesord", 2, "Scenery may be spoilt by huge wind farms.", {2520, 3120}, {7440, 7080});
    row("resourcesord", 3, "Sunshine is used to generate power.", {5700, 1200}, {4440, 5640});
    row("resourcesord", 4, "Suitable for sunny climates.", {5700, 2160}, {4440, 6360});
    row("resourcesord", 5, "It makes no power at night.", {5700, 3120}, {1440, 6360});
    row("resourcesord", 6, "The flow of water is used to generate power.", {8880, 1200}, {4440, 7080});
    row("resourcesord", 7, "Suitable for wet and mountainous regions.", {8880, 2160}, {1440, 5640});
    row("resourcesord", 8, "Dams can harm the wildlife of rivers.", {8880, 3120}, {1440, 7080});
}

void ActivitiesTest::answerKey()
{
    QFETCH(QString, name);
    QFETCH(int, item);
    QFETCH(QString, answer);
    QFETCH(QPointF, box);
    QFETCH(QPointF, slot);
    test::DataFolder data;
    ActivityScreen &screen = open(name);
    QCOMPARE(screen.Label2(item).caption(), answer);
    QCOMPARE(screen.Label1(item).caption(), QString());
    QCOMPARE(QPointF(screen.Label1(item).leftTw(), screen.Label1(item).topTw()), box);
    QCOMPARE(QPointF(screen.Label2(item).leftTw(), screen.Label2(item).topTw()), slot);
    QCOMPARE(QPointF(screen.Label4(item).leftTw(), screen.Label4(item).topTw()), slot);
    // The answer key is the index: only this label in this box scores.
    session().soundon = 1;
    const Label &label = screen.Label2(item);
    screen.Label2_MouseMove(item, 1, float(box.x()) - label.leftTw() + label.widthTw() / 2,
                            float(box.y()) - label.topTw() + label.heightTw() / 2);
    screen.Label2_MouseUp(item);
    QVERIFY(onBox(screen, item, item));
    QCOMPARE(data.sounds->played, QStringList{kThud});
    screen.Label3_Click(2);
    QCOMPARE(session().score, 1);
}

void ActivitiesTest::staticTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<QColor>("color");
    const QColor yellow(255, 255, 0);
    const QString times = u"Times New Roman"_qs;
    const QString tahoma = u"Tahoma"_qs;
    QTest::newRow("rubbishlab heading") << u"rubbishlab"_qs << u"Label6"_qs << -1 << QString()
                                        << QRectF(240, 240, 2145, 705) << times << 24.0 << yellow;
    QTest::newRow("rubbishlab instruction")
        << u"rubbishlab"_qs << u"Label7"_qs << -1
        << u"Drag the labels into the correct boxes to label these ways of disposing of rubbish."_qs
        << QRectF(3360, 840, 4260, 1065) << times << 15.75 << yellow;
    QTest::newRow("resourceslab instruction")
        << u"resourceslab"_qs << u"Label7"_qs << -1
        << u"Label this imaginary island to show the regions where there are good alternative energy sources."_qs
        << QRectF(120, 4740, 4785, 1065) << times << 15.75 << yellow;
    QTest::newRow("rubbishord ending 2") << u"rubbishord"_qs << u"Label5"_qs << 2
                                         << u"cans and containers left on the ground."_qs
                                         << QRectF(5400, 3300, 6495, 495) << tahoma << 15.75 << yellow;
    QTest::newRow("rubbishord ending 4") << u"rubbishord"_qs << u"Label5"_qs << 4
                                         << u"playing in sand or swimming in the sea. "_qs
                                         << QRectF(5400, 5220, 6615, 495) << tahoma << 15.75 << yellow;
    QTest::newRow("rubbishord title") << u"rubbishord"_qs << u"Label8"_qs << 0
                                      << u"Litter and rubbish cause many problems. Finish these statements. "_qs
                                      << QRectF(4320, 120, 6825, 1065) << times << 20.25 << QColor(0, 255, 0);
    QTest::newRow("rubbishord hint") << u"rubbishord"_qs << u"Label9"_qs << -1
                                     << u"Drag the labels into the correct boxes."_qs << QRectF(120, 7920, 2625, 705)
                                     << tahoma << 12.0 << QColor(128, 255, 255);
    QTest::newRow("rubbishord heading") << u"rubbishord"_qs << u"Label6"_qs << -1 << QString()
                                        << QRectF(120, 120, 2265, 705) << times << 24.0 << yellow;
    QTest::newRow("resourcesord water") << u"resourcesord"_qs << u"Label8"_qs << 3 << u"Water Power"_qs
                                        << QRectF(9030, 600, 2835, 585) << tahoma << 15.75 << yellow;
    QTest::newRow("resourcesord row 5") << u"resourcesord"_qs << u"Label8"_qs << 5
                                        << u"Suitable areas for this power source"_qs
                                        << QRectF(120, 2160, 2355, 675) << tahoma << 12.0 << yellow;
    QTest::newRow("resourcesord introduction")
        << u"resourcesord"_qs << u"Label8"_qs << 0
        << u"Much of our electricity is still made by burning fossil fuels such as gas, which pollutes the air. "
           "Complete the table above about alternative power sources: wind, solar and water power, which do not "
           "pollute the air."_qs
        << QRectF(120, 4320, 11715, 1305) << times << 18.0 << yellow;
    QTest::newRow("resourcesord heading") << u"resourcesord"_qs << u"Label6"_qs << -1 << QString()
                                          << QRectF(240, 120, 4785, 705) << times << 24.0 << yellow;
}

void ActivitiesTest::staticTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, control);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QRectF, rect);
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(QColor, color);
    test::DataFolder data;
    ActivityScreen &screen = open(name);
    Label *label = nullptr;
    if (control == u"Label5")
        label = &screen.Label5(index);
    else if (control == u"Label8")
        label = &screen.Label8(index);
    else if (control == u"Label6")
        label = screen.Label6;
    else if (control == u"Label7")
        label = screen.Label7;
    else if (control == u"Label9")
        label = screen.Label9;
    QVERIFY(label);
    QCOMPARE(label->caption(), text);
    QCOMPARE(QRectF(label->leftTw(), label->topTw(), label->widthTw(), label->heightTw()), rect);
    QCOMPARE(label->font().pixelSize(), qRound(points * 96 / 72));
    QCOMPARE(label->foreColor(), color);
    QVERIFY(!label->isOpaque());
    // The whole wrapped text fits inside the label as drawn.
    const QRect need = QFontMetrics(label->font())
                           .boundingRect(QRect(0, 0, label->width(), 100000),
                                         int(label->alignment() | Qt::TextWordWrap), label->caption());
    QVERIFY2(need.height() <= label->height(), qPrintable(QString::number(need.height())));
}

void ActivitiesTest::loadState_data()
{
    activities();
}

void ActivitiesTest::loadState()
{
    QFETCH(QString, name);
    test::DataFolder data;
    ActivityScreen &screen = open(name);
    const QStringList captions{u"Exit"_qs, u"Start Again"_qs, u"Check Score"_qs};
    const QList<QRectF> frames{{10560, 7920, 1245, 495}, {3360, 7920, 2565, 495}, {6000, 7920, 2565, 495}};
    for (int i = 0; i < 3; ++i) {
        const Label &b = screen.Label3(i);
        QCOMPARE(b.caption(), captions[i]);
        QCOMPARE(QRectF(b.leftTw(), b.topTw(), b.widthTw(), b.heightTw()), frames[i]);
        QCOMPARE(b.font().pixelSize(), 21);
        QVERIFY(b.isOpaque());
    }
    screen.showInFront();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QVERIFY(screen.Label3(0).isVisible() && screen.Label3(1).isVisible());
    QVERIFY(!screen.Label3(2).isVisible());
    for (const auto &[i, picture] : screen.Image1.items())
        QVERIFY2(picture->picture(), qPrintable(u"picture %1 not loaded"_qs.arg(i)));
    for (const auto &[i, label] : screen.Label2.items())
        QVERIFY(label->isVisible() && screen.Label1(i).isVisible() && screen.Label4(i).isVisible());
}

void ActivitiesTest::missingPictureLeavesFrameEmpty()
{
    test::DataFolder data;
    data.remove(u"Images/bottlebank.jpg"_qs);
    session().soundon = 1;
    ActivityScreen &screen = shown(u"rubbishlab"_qs);
    QVERIFY(!screen.Image1(0).picture());
    QVERIFY(screen.Image1(1).picture());
    QVERIFY(data.messages->shown.isEmpty());
    dragTo(screen, 0, centreOf(screen.Label1(0)));
    QVERIFY(onBox(screen, 0, 0));
    QCOMPARE(data.sounds->played, QStringList{kThud});
}

void ActivitiesTest::dragIntoBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("swap");
    QTest::addColumn<int>("score");
    QTest::newRow("rubbishlab right") << u"rubbishlab"_qs << false << 4;
    QTest::newRow("rubbishlab two swapped") << u"rubbishlab"_qs << true << 2;
    QTest::newRow("resourceslab right") << u"resourceslab"_qs << false << 5;
    QTest::newRow("rubbishord right") << u"rubbishord"_qs << false << 5;
    QTest::newRow("rubbishord two swapped") << u"rubbishord"_qs << true << 3;
    QTest::newRow("resourcesord right") << u"resourcesord"_qs << false << 9;
}

void ActivitiesTest::dragIntoBoxes()
{
    QFETCH(QString, name);
    QFETCH(bool, swap);
    QFETCH(int, score);
    test::DataFolder data;
    session().soundon = 1;
    ActivityScreen &screen = shown(name);
    const int n = int(screen.Label2.items().size());
    for (int i = 0; i < n; ++i) {
        int box = i;
        if (swap && i < 2)
            box = 1 - i;
        QVERIFY(!screen.Label3(2).isVisible());
        dragTo(screen, i, centreOf(screen.Label1(box)));
        QVERIFY2(onBox(screen, i, box), qPrintable(u"label %1 at %2, %3"_qs.arg(i)
                                                       .arg(screen.Label2(i).leftTw())
                                                       .arg(screen.Label2(i).topTw())));
        QCOMPARE(screen.Label2(i).pos(), screen.Label1(box).pos());
        QCOMPARE(data.sounds->played.size(), i + 1);
        QCOMPARE(data.sounds->played.last(), kThud);
    }
    QVERIFY(screen.Label3(2).isVisible());
    session().score = 99;
    click(screen, screen.Label3(2));
    QCOMPARE(session().score, score);
    QCOMPARE(session().outof, n);
    QCOMPARE(data.sounds->played.last(), kClick);
    // The results screen in front, worded from score and outof; the activity stays beneath it.
    QVERIFY(isLoaded<Welldone>());
    Welldone &results = *loadedForm<Welldone>();
    QVERIFY(results.isVisible());
    QCOMPARE(results.Label1->caption(), scoreSentence(score, n));
    if (!swap)
        QCOMPARE(results.Label1->caption(), u"Excellent work. You have scored %1 out of %1."_qs.arg(n));
    QVERIFY(screen.isVisible());
    unloadForm<Welldone>();

    // Dragging a label out again leaves "Check Score" shown; marking starts afresh from 0.
    dragTo(screen, n - 1, QPoint(780, 20));
    QVERIFY(screen.Label3(2).isVisible());
    click(screen, screen.Label3(2));
    QCOMPARE(session().score, score - 1);
}

void ActivitiesTest::rightButtonDragDoesNotMove()
{
    test::DataFolder data;
    session().soundon = 1;
    ActivityScreen &screen = shown(u"rubbishlab"_qs);
    const QPoint home = screen.Label2(0).pos();
    dragTo(screen, 0, centreOf(screen.Label1(0)), Qt::RightButton);
    QCOMPARE(screen.Label2(0).pos(), home);
    QCOMPARE(screen.Label2(0).leftTw(), 3600.f);
    // The right button's release runs the drop test too: the label is in its own slot's window.
    QCOMPARE(data.sounds->played, QStringList{kThud});
    QVERIFY(!screen.Label3(2).isVisible());
}

void ActivitiesTest::labelFollowsPointerOffItself()
{
    test::DataFolder data;
    session().soundon = 1;
    ActivityScreen &screen = shown(u"rubbishlab"_qs);
    QWindow *window = screen.windowHandle();
    Label &label = screen.Label2(3);
    // Press near the label's corner: the first move puts its centre under the pointer.
    const QPoint grip = label.pos() + QPoint(3, 3);
    QTest::mousePress(window, Qt::LeftButton, {}, grip);
    QTest::mouseMove(window, grip + QPoint(1, 0));
    QCOMPARE(label.geometry().center(), grip + QPoint(1, 0));
    QVERIFY(label.isVisible());
    // Captured: moves far away, even off the screen's client area, still reach the label.
    QTest::mouseMove(window, QPoint(400, 500));
    QCOMPARE(label.geometry().center(), QPoint(400, 500));
    QTest::mouseMove(window, QPoint(790, 595));
    QCOMPARE(label.geometry().center(), QPoint(790, 595));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(790, 595));
    QVERIFY(data.sounds->played.isEmpty());
    QCOMPARE(label.geometry().center(), QPoint(790, 595));
}

void ActivitiesTest::startAgain()
{
    test::DataFolder data;
    session().soundon = 1;
    ActivityScreen &screen = shown(u"resourcesord"_qs);
    for (int i = 0; i < 9; ++i)
        dragTo(screen, i, centreOf(screen.Label1((i + 1) % 9)));
    QVERIFY(screen.Label3(2).isVisible());
    session().score = 5;
    click(screen, screen.Label3(1));
    QCOMPARE(session().score, 0);
    QVERIFY(!screen.Label3(2).isVisible());
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(screen.Label2(i).leftTw(), screen.Label4(i).leftTw());
        QCOMPARE(screen.Label2(i).topTw(), screen.Label4(i).topTw());
        QCOMPARE(screen.Label2(i).pos(), screen.Label4(i).pos());
    }
    QCOMPARE(data.sounds->played.last(), kClick);
    // It stays hidden until every label is in a box again.
    for (int i = 0; i < 8; ++i)
        dragTo(screen, i, centreOf(screen.Label1(i)));
    QVERIFY(!screen.Label3(2).isVisible());
    dragTo(screen, 8, centreOf(screen.Label1(8)));
    QVERIFY(screen.Label3(2).isVisible());
}

void ActivitiesTest::exitSetsScoreZeroThenClicks()
{
    test::DataFolder data;
    auto order = std::make_shared<OrderPlayer>();
    setSoundPlayer(order);
    session().soundon = 1;
    ActivityScreen &screen = shown(u"rubbishlab"_qs);
    session().score = 7;
    click(screen, screen.Label3(0));
    QCOMPARE(session().score, 0);
    QVERIFY(!loadedActivity(u"rubbishlab"_qs));
    QCOMPARE(order->played, QStringList{kClick});
    QCOMPARE(order->loaded, QList<bool>{false});
    // Opened again: a fresh screen with every label at home.
    ActivityScreen &again = open(u"rubbishlab"_qs);
    QCOMPARE(again.Label2(0).leftTw(), 3600.f);
    QVERIFY(!again.Label3(2).isVisibleTo(&again));
}

void ActivitiesTest::soundOffPlaysNothing()
{
    test::DataFolder data;
    session().soundon = 0;
    ActivityScreen &screen = shown(u"rubbishlab"_qs);
    for (int i = 0; i < 4; ++i)
        dragTo(screen, i, centreOf(screen.Label1(i)));
    QVERIFY(screen.Label3(2).isVisible());
    click(screen, screen.Label3(2));
    QCOMPARE(session().score, 4);
    click(screen, screen.Label3(1));
    QVERIFY(data.sounds->played.isEmpty());
}

void ActivitiesTest::hoverRule()
{
    test::DataFolder data;
    ActivityScreen &screen = shown(u"rubbishord"_qs);
    QWindow *window = screen.windowHandle();
    // Opaque when first shown; the background clears all three, Check Score included.
    QTest::mouseMove(window, QPoint(400, 590));
    for (int i = 0; i < 3; ++i)
        QVERIFY(!screen.Label3(i).isOpaque());
    QTest::mouseMove(window, centreOf(screen.Label3(1)));
    QVERIFY(screen.Label3(1).isOpaque());
    QTest::mouseMove(window, centreOf(screen.Label3(0)));
    QVERIFY(screen.Label3(0).isOpaque() && screen.Label3(1).isOpaque());
    // Over a static text or a box: not the background, nothing clears.
    QTest::mouseMove(window, centreOf(screen.Label5(0)));
    QVERIFY(screen.Label3(0).isOpaque());
    QTest::mouseMove(window, QPoint(400, 590));
    QVERIFY(!screen.Label3(0).isOpaque() && !screen.Label3(1).isOpaque());
}

void ActivitiesTest::resultsAreOutOfOwnItems_data()
{
    // Steps: "open X" (its hub's button), "close X" (title bar), "minimise X", "complete X" (every
    // label in its own box, Check Score, the results read and closed).
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("ordering closed, labelling, ordering again")
        << QStringList{u"open rubbishord"_qs, u"close rubbishord"_qs, u"open rubbishlab"_qs, u"close rubbishlab"_qs,
                       u"open rubbishord"_qs, u"complete rubbishord"_qs};
    QTest::newRow("labelling minimised under ordering")
        << QStringList{u"open rubbishlab"_qs, u"minimise rubbishlab"_qs, u"open rubbishord"_qs,
                       u"close rubbishord"_qs, u"open rubbishlab"_qs, u"complete rubbishlab"_qs};
    QTest::newRow("across topics and back")
        << QStringList{u"open rubbishlab"_qs, u"minimise rubbishlab"_qs, u"open resourcesord"_qs,
                       u"complete resourcesord"_qs, u"minimise resourcesord"_qs, u"open rubbishlab"_qs,
                       u"complete rubbishlab"_qs, u"open resourcesord"_qs, u"complete resourcesord"_qs};
    QTest::newRow("checked twice between others")
        << QStringList{u"open resourceslab"_qs, u"complete resourceslab"_qs, u"minimise resourceslab"_qs,
                       u"open resourcesord"_qs, u"close resourcesord"_qs, u"open rubbishord"_qs,
                       u"minimise rubbishord"_qs, u"open resourceslab"_qs, u"complete resourceslab"_qs,
                       u"close resourceslab"_qs, u"open rubbishord"_qs, u"complete rubbishord"_qs};
}

void ActivitiesTest::resultsAreOutOfOwnItems()
{
    QFETCH(QStringList, steps);
    test::DataFolder data;
    for (const QString &step : steps) {
        const QString verb = step.section(u' ', 0, 0);
        const QString name = step.section(u' ', 1);
        if (verb == u"open") {
            TopicHub &hub = name.startsWith(u"rubbish") ? static_cast<TopicHub &>(topicHub(u"rubbish"_qs)) : topicHub(u"resources"_qs);
            hub.showInFront();
            hub.Label3_Click(name.endsWith(u"lab") ? 1 : 3);
            ActivityScreen *screen = loadedActivity(name);
            QVERIFY2(screen && screen->isVisible() && !screen->isMinimized(), qPrintable(step));
            continue;
        }
        ActivityScreen *screen = loadedActivity(name);
        QVERIFY2(screen, qPrintable(step));
        if (verb == u"close") {
            screen->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY2(!loadedActivity(name), qPrintable(step));
        } else if (verb == u"minimise") {
            screen->showMinimized();
            QTRY_VERIFY(screen->isMinimized());
        } else {
            const int n = int(screen->Label2.items().size());
            placeAllRight(*screen);
            QVERIFY2(screen->Label3(2).isVisibleTo(screen), qPrintable(step));
            screen->Label3_Click(2);
            Welldone *results = loadedForm<Welldone>();
            QVERIFY(results);
            QCOMPARE(results->Label1->caption(), u"Excellent work. You have scored %1 out of %1."_qs.arg(n));
            results->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!isLoaded<Welldone>());
        }
    }
}

void ActivitiesTest::labelReleasedOffScreenGoesBack_data()
{
    QTest::addColumn<bool>("fromBox");    // picked up from its box, else from its home slot
    QTest::addColumn<QPoint>("release");  // window pixels; the label's centre goes there
    QTest::addColumn<bool>("back");       // back where it was picked up; else it stays where released
    QTest::newRow("far left, from home") << false << QPoint(-300, 300) << true;
    QTest::newRow("below, from its box") << true << QPoint(400, 700) << true;
    QTest::newRow("above, from its box") << true << QPoint(400, -100) << true;
    QTest::newRow("right, from home") << false << QPoint(1000, 100) << true;
    QTest::newRow("half out on the left stays") << false << QPoint(20, 300) << false;
    QTest::newRow("corner showing at the bottom right stays") << true << QPoint(800, 600) << false;
}

void ActivitiesTest::labelReleasedOffScreenGoesBack()
{
    QFETCH(bool, fromBox);
    QFETCH(QPoint, release);
    QFETCH(bool, back);
    test::DataFolder data;
    session().soundon = 1;
    ActivityScreen &screen = shown(u"rubbishlab"_qs);
    for (int i = 1; i < 4; ++i)
        dragTo(screen, i, centreOf(screen.Label1(i)));
    if (fromBox)
        dragTo(screen, 0, centreOf(screen.Label1(0)));
    QCOMPARE(screen.Label3(2).isVisible(), fromBox);
    const QPointF pickedUp(screen.Label2(0).leftTw(), screen.Label2(0).topTw());
    const qsizetype clips = data.sounds->played.size();

    dragTo(screen, 0, release);
    const Label &label = screen.Label2(0);
    if (back) {
        QCOMPARE(QPointF(label.leftTw(), label.topTw()), pickedUp);
        QCOMPARE(label.pos(), QPoint(int(pickedUp.x() / 15), int(pickedUp.y() / 15)));
        QCOMPARE(data.sounds->played.size(), clips);   // going back is no snap
    } else {
        QCOMPARE(QPointF(label.leftTw() + label.widthTw() / 2, label.topTw() + label.heightTw() / 2),
                 QPointF(release) * 15);
    }
    QVERIFY(label.isVisible());
    // The other placements are kept; a label back in its box still counts.
    for (int i = 1; i < 4; ++i)
        QVERIFY(onBox(screen, i, i));
    QCOMPARE(screen.Label3(2).isVisible(), fromBox);
    if (fromBox && back) {
        click(screen, screen.Label3(2));
        QCOMPARE(session().score, 4);
    }
}

QTEST_MAIN(ActivitiesTest)
#include "tst_activities.moc"
