// The drag-and-drop rules without widgets: snap windows, drop order, completion, marking, reset.
#include "rules/activitydef.h"
#include "rules/topictable.h"
#include "rules/dragengine.h"

#include <QTest>

using namespace terravale;

Q_DECLARE_METATYPE(const ActivityDef *)

namespace {
// Box 0 of rubbishlab: 1845 x 375 at (8880, 2880).
const TwRect kBox{8880, 2880, 1845, 375};

void placeAll(DragEngine &engine, const std::vector<int> &boxOfLabel)
{
    for (int j = 0; j < int(boxOfLabel.size()); ++j) {
        const TwRect &b = engine.box(boxOfLabel[size_t(j)]);
        engine.moveLabel(j, b.left + 10, b.top + 10);
        QCOMPARE(engine.drop(j), 1);
    }
}

void activityColumn()
{
    QTest::addColumn<const ActivityDef *>("def");
}

void activityRows()
{
    QTest::newRow("rubbishlab") << &activityDef(QStringLiteral("rubbishlab"));
    QTest::newRow("resourceslab") << &activityDef(QStringLiteral("resourceslab"));
    QTest::newRow("rubbishord") << &activityDef(QStringLiteral("rubbishord"));
    QTest::newRow("resourcesord") << &activityDef(QStringLiteral("resourcesord"));
}
} // namespace

class DragEngineTest : public QObject {
    Q_OBJECT
private slots:
    void snapWindow_data();
    void snapWindow();
    void dropOrder_data();
    void dropOrder();
    void dropOutsideStays();
    void releasedOffScreen_data();
    void releasedOffScreen();
    void releasedOffScreenWithoutPickUp();
    void dropAgainInSameBoxSnapsAgain();
    void homeSlotSnapsButDoesNotCount();
    void drag_data();
    void drag();
    void twoLabelsInOneBoxBothCount();
    void marking_data();
    void marking();
    void startAgain_data();
    void startAgain();
};

void DragEngineTest::snapWindow_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<bool>("snaps");
    QTest::newRow("on the box corner") << 8880.f << 2880.f << true;
    QTest::newRow("left bound 7957.5 is out") << 7957.5f << 3000.f << false;
    QTest::newRow("just right of the left bound") << 7958.f << 3000.f << true;
    QTest::newRow("right bound 10725 is out") << 10725.f << 3000.f << false;
    QTest::newRow("just left of the right bound") << 10724.5f << 3000.f << true;
    QTest::newRow("top bound 2692.5 is out") << 9000.f << 2692.5f << false;
    QTest::newRow("just below the top bound") << 9000.f << 2693.f << true;
    QTest::newRow("bottom bound 3255 is out") << 9000.f << 3255.f << false;
    QTest::newRow("just above the bottom bound") << 9000.f << 3254.5f << true;
    QTest::newRow("corner in, both bounds barely") << 7958.f << 2693.f << true;
    // The label covers most of the box, but its corner is more than half a box height above it.
    QTest::newRow("above by more than half the height") << 8880.f << 2680.f << false;
    QTest::newRow("far away") << 0.f << 0.f << false;
}

void DragEngineTest::snapWindow()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(bool, snaps);
    QCOMPARE(inSnapWindow(kBox, x, y), snaps);

    // The same through a drop: a snap lands exactly on the box, otherwise the label stays.
    DragEngine engine = engineFor(activityDef(QStringLiteral("rubbishlab")));
    engine.moveLabel(0, x, y);
    QCOMPARE(engine.drop(0), snaps ? 1 : 0);
    QCOMPARE(engine.label(0).left, snaps ? kBox.left : x);
    QCOMPARE(engine.label(0).top, snaps ? kBox.top : y);
}

void DragEngineTest::dropOrder_data()
{
    QTest::addColumn<const ActivityDef *>("def");
    QTest::addColumn<int>("label");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");
    // (3000, 1850) lies in the windows of box 0 and box 1: box 0 is tested first.
    QTest::newRow("resourcesord overlap goes to box 0") << &activityDef(QStringLiteral("resourcesord")) << 4 << 3000.f << 1850.f << 2520.f
                                                        << 1200.f;
    QTest::newRow("resourcesord just below box 0's window") << &activityDef(QStringLiteral("resourcesord")) << 4 << 3000.f << 1875.f
                                                            << 2520.f << 2160.f;
    // Home slots of item 7 (1440, 5640) and item 5 (1440, 6360) overlap the same way: item 5 is tested first.
    QTest::newRow("resourcesord overlapping slots, lower item") << &activityDef(QStringLiteral("resourcesord")) << 0 << 1500.f << 6300.f
                                                                << 1440.f << 6360.f;
    QTest::newRow("rubbishord box column") << &activityDef(QStringLiteral("rubbishord")) << 0 << 300.f << 1700.f << 240.f << 1320.f;
    // Between slot 0 (3600, 2040) and slot 1 (5520, 2040): both windows hold it, slot 0 wins.
    QTest::newRow("rubbishlab overlapping home slots") << &activityDef(QStringLiteral("rubbishlab")) << 2 << 5000.f << 2000.f << 3600.f
                                                       << 2040.f;
    QTest::newRow("rubbishlab home slot 1 alone") << &activityDef(QStringLiteral("rubbishlab")) << 0 << 5500.f << 2000.f << 5520.f << 2040.f;
    QTest::newRow("resourceslab box 2") << &activityDef(QStringLiteral("resourceslab")) << 0 << 7000.f << 400.f << 7800.f << 720.f;
}

void DragEngineTest::dropOrder()
{
    QFETCH(const ActivityDef *, def);
    QFETCH(int, label);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, left);
    QFETCH(float, top);
    DragEngine engine = engineFor(*def);
    engine.moveLabel(label, x, y);
    QCOMPARE(engine.drop(label), 1);
    QCOMPARE(engine.label(label).left, left);
    QCOMPARE(engine.label(label).top, top);
}

void DragEngineTest::dropOutsideStays()
{
    DragEngine engine = engineFor(activityDef(QStringLiteral("rubbishlab")));
    engine.pickUp(2);
    engine.moveLabel(2, 6000, 5000);   // on the screen, in no box's or slot's window
    QCOMPARE(engine.drop(2), 0);
    QCOMPARE(engine.label(2).left, 6000.f);
    QCOMPARE(engine.label(2).top, 5000.f);
    QCOMPARE(engine.pairsInBoxes(), 0);
}

void DragEngineTest::releasedOffScreen_data()
{
    // Label 1 of rubbishlab, 1845 x 375, picked up from a place, then released at (left, top).
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");
    QTest::addColumn<bool>("back");
    const QPointF home(5520, 2040), box(9000, 7300), free(6000, 5000);
    QTest::newRow("far below") << home << 500.f << 12000.f << true;
    QTest::newRow("right edge just touched from outside") << home << 12000.f << 3000.f << true;
    QTest::newRow("a strip left at the right edge") << home << 11999.5f << 3000.f << false;
    QTest::newRow("right side ends at the left edge") << box << -1845.f << 3000.f << true;
    QTest::newRow("a strip left at the left edge") << box << -1844.5f << 3000.f << false;
    QTest::newRow("bottom ends at the top edge") << free << 4000.f << -375.f << true;
    QTest::newRow("a strip left at the top edge") << free << 4000.f << -374.5f << false;
    QTest::newRow("top on the bottom edge") << free << 4000.f << 9000.f << true;
    QTest::newRow("a strip left at the bottom edge") << free << 4000.f << 8999.5f << false;
    QTest::newRow("off a corner") << box << -3000.f << -3000.f << true;
}

void DragEngineTest::releasedOffScreen()
{
    QFETCH(QPointF, from);
    QFETCH(float, left);
    QFETCH(float, top);
    QFETCH(bool, back);
    DragEngine engine = engineFor(activityDef(QStringLiteral("rubbishlab")));
    engine.moveLabel(1, float(from.x()), float(from.y()));
    engine.drop(1);                      // snapped into a box or slot, or left free
    const TwRect placed = engine.label(1);
    engine.pickUp(1);
    engine.moveLabel(1, left, top);
    QCOMPARE(engine.drop(1), 0);
    QCOMPARE(engine.label(1).left, back ? placed.left : left);
    QCOMPARE(engine.label(1).top, back ? placed.top : top);
    // Back in its own box it counts again.
    QCOMPARE(engine.mark(), back && placed.left == 9000.f && placed.top == 7300.f ? 1 : 0);
}

void DragEngineTest::releasedOffScreenWithoutPickUp()
{
    // Never picked up, or picked up before "Start Again": the label goes back to its home slot.
    DragEngine engine = engineFor(activityDef(QStringLiteral("rubbishlab")));
    engine.moveLabel(3, -5000, 400);
    QCOMPARE(engine.drop(3), 0);
    QCOMPARE(engine.label(3).left, 3600.f);
    QCOMPARE(engine.label(3).top, 2520.f);

    engine.moveLabel(3, engine.box(3).left, engine.box(3).top);
    engine.pickUp(3);
    engine.startAgain();
    engine.moveLabel(3, 20000, 400);
    engine.drop(3);
    QCOMPARE(engine.label(3).left, 3600.f);
    QCOMPARE(engine.label(3).top, 2520.f);
}

void DragEngineTest::dropAgainInSameBoxSnapsAgain()
{
    DragEngine engine = engineFor(activityDef(QStringLiteral("rubbishlab")));
    engine.moveLabel(1, 9100, 7400);
    QCOMPARE(engine.drop(1), 1);
    QCOMPARE(engine.drop(1), 1);
    QCOMPARE(engine.label(1).left, 9000.f);
    QCOMPARE(engine.label(1).top, 7300.f);
}

void DragEngineTest::homeSlotSnapsButDoesNotCount()
{
    DragEngine engine = engineFor(activityDef(QStringLiteral("rubbishlab")));
    // Label 0 into item 3's home slot (3600, 2520), the other three into their boxes.
    engine.moveLabel(0, 3650, 2600);
    QCOMPARE(engine.drop(0), 1);
    QCOMPARE(engine.label(0).left, 3600.f);
    QCOMPARE(engine.label(0).top, 2520.f);
    for (int i = 1; i < 4; ++i) {
        engine.moveLabel(i, engine.box(i).left + 1, engine.box(i).top + 1);
        engine.drop(i);
    }
    QCOMPARE(engine.pairsInBoxes(), 3);
    QVERIFY(!engine.complete());
    QCOMPARE(engine.mark(), 3);
}

void DragEngineTest::drag_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<bool>("moves");
    QTest::newRow("left alone") << 1 << 100.f << 50.f << true;
    QTest::newRow("left far off the screen") << 1 << -90000.f << -90000.f << true;
    QTest::newRow("no button") << 0 << 100.f << 50.f << false;
    QTest::newRow("right") << 2 << 100.f << 50.f << false;
    QTest::newRow("middle") << 4 << 100.f << 50.f << false;
    QTest::newRow("left and right") << 3 << 100.f << 50.f << false;
    QTest::newRow("left and middle") << 5 << 100.f << 50.f << false;
}

void DragEngineTest::drag()
{
    QFETCH(int, buttons);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(bool, moves);
    DragEngine engine = engineFor(activityDef(QStringLiteral("rubbishlab")));   // label 0 at (3600, 2040), 1845 x 375
    QCOMPARE(engine.drag(0, buttons, x, y), moves);
    // Centre onto the pointer: left + x - 922.5, top + y - 187.5, no bounds.
    QCOMPARE(engine.label(0).left, moves ? 3600.f + x - 922.5f : 3600.f);
    QCOMPARE(engine.label(0).top, moves ? 2040.f + y - 187.5f : 2040.f);
    QCOMPARE(engine.label(0).width, 1845.f);
}

void DragEngineTest::twoLabelsInOneBoxBothCount()
{
    DragEngine engine = engineFor(activityDef(QStringLiteral("rubbishlab")));
    placeAll(engine, {0, 0, 2, 3});   // labels 0 and 1 stacked in box 0, box 1 empty
    QCOMPARE(engine.pairsInBoxes(), 4);
    QVERIFY(engine.complete());
    QCOMPARE(engine.mark(), 3);
}

void DragEngineTest::marking_data()
{
    activityColumn();
    QTest::addColumn<int>("n");
    QTest::newRow("rubbishlab") << &activityDef(QStringLiteral("rubbishlab")) << 4;
    QTest::newRow("resourceslab") << &activityDef(QStringLiteral("resourceslab")) << 5;
    QTest::newRow("rubbishord") << &activityDef(QStringLiteral("rubbishord")) << 5;
    QTest::newRow("resourcesord") << &activityDef(QStringLiteral("resourcesord")) << 9;
}

void DragEngineTest::marking()
{
    QFETCH(const ActivityDef *, def);
    QFETCH(int, n);
    DragEngine engine = engineFor(*def);
    QCOMPARE(engine.count(), n);
    QCOMPARE(engine.mark(), 0);

    std::vector<int> right(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        right[size_t(i)] = i;
    placeAll(engine, right);
    QVERIFY(engine.complete());
    QCOMPARE(engine.mark(), n);

    std::vector<int> swapped = right;
    std::swap(swapped[0], swapped[size_t(n - 1)]);
    placeAll(engine, swapped);
    QVERIFY(engine.complete());
    QCOMPARE(engine.mark(), n - 2);

    std::vector<int> stacked = right;
    stacked[1] = 0;
    placeAll(engine, stacked);
    QVERIFY(engine.complete());
    QCOMPARE(engine.mark(), n - 1);
}

void DragEngineTest::startAgain_data()
{
    activityColumn();
    activityRows();
}

void DragEngineTest::startAgain()
{
    QFETCH(const ActivityDef *, def);
    DragEngine engine = engineFor(*def);
    for (int i = 0; i < engine.count(); ++i) {
        engine.moveLabel(i, engine.box(i).left, engine.box(i).top);
        engine.drag(i, 1, -40000, 40000);   // some dragged off the screen
    }
    engine.startAgain();
    for (int i = 0; i < engine.count(); ++i) {
        QCOMPARE(engine.label(i).left, def->items[size_t(i)].slotLeft);
        QCOMPARE(engine.label(i).top, def->items[size_t(i)].slotTop);
        QCOMPARE(engine.slot(i).left, def->items[size_t(i)].slotLeft);
    }
    QCOMPARE(engine.pairsInBoxes(), 0);
    QCOMPARE(engine.mark(), 0);
}

QTEST_APPLESS_MAIN(DragEngineTest)
#include "tst_dragengine.moc"
