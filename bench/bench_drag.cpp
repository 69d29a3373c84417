// Dragging: one pointer-move step (handler, widget move, repaint request; and with the repaint done)
// and one drop with snapping and the completion check.
#include "activities/activities.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "shell/app.h"
#include "shell/session.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <benchmark/benchmark.h>

using namespace terravale;

namespace {
class SilentPlayer : public SoundPlayer {
public:
    void play(const QString &) override {}
};

// Centre of label i onto the given twip point, through the handler.
void dragCentreTo(ActivityScreen &screen, int i, float x, float y)
{
    const Label &l = screen.Label2(i);
    screen.Label2_MouseMove(i, 1, x - l.leftTw(), y - l.topTw());
}

ActivityScreen &prepared(ActivityScreen &screen)
{
    screen.showInFront();
    if (!QTest::qWaitForWindowExposed(&screen))
        qWarning("not exposed");
    QCoreApplication::processEvents();
    return screen;
}
} // namespace

// A move step over the photographs: the handler moves the label and asks for the repaint.
static void BM_MoveStep(benchmark::State &state)
{
    ActivityScreen &screen = prepared(form<rubbishlab>());
    float x = 4000;
    for (auto _ : state) {
        x = x > 9000 ? 4000 : x + 45;
        dragCentreTo(screen, 0, x, 4500);
    }
    QCoreApplication::processEvents();
    unloadAllForms();
}
BENCHMARK(BM_MoveStep)->Unit(benchmark::kMicrosecond);

// The same step with the repaint carried out (labels over the pictures, offscreen back end).
static void BM_MoveStepPainted(benchmark::State &state)
{
    ActivityScreen &screen = prepared(form<rubbishlab>());
    float x = 4000;
    for (auto _ : state) {
        x = x > 9000 ? 4000 : x + 45;
        dragCentreTo(screen, 0, x, 4500);
        QCoreApplication::processEvents();
    }
    unloadAllForms();
}
BENCHMARK(BM_MoveStepPainted)->Unit(benchmark::kMicrosecond);

// A drop that snaps into a box, then the completion check over 9 x 9 pairs (all placed).
static void BM_DropSnapAndCheck(benchmark::State &state)
{
    session().soundon = 1;
    ActivityScreen &screen = prepared(form<resourcesord>());
    for (int i = 0; i < 9; ++i) {
        dragCentreTo(screen, i, screen.Label1(i).leftTw() + 100, screen.Label1(i).topTw() + 100);
        screen.Label2_MouseUp(i);
    }
    if (!screen.Label3(2).isVisible())
        state.SkipWithError("not complete");
    for (auto _ : state)
        screen.Label2_MouseUp(8);   // box 8 is the last window tested before it
    unloadAllForms();
}
BENCHMARK(BM_DropSnapAndCheck)->Unit(benchmark::kMicrosecond);

// The engine alone: the same drop without widgets.
static void BM_EngineDrop(benchmark::State &state)
{
    DragEngine engine = engineFor(resourcesordDef());
    for (int i = 0; i < 9; ++i)
        engine.moveLabel(i, engine.box(i).left, engine.box(i).top);
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.drop(8));
        benchmark::DoNotOptimize(engine.complete());
    }
}
BENCHMARK(BM_EngineDrop)->Unit(benchmark::kNanosecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    startProgram(app);
    QDir::setCurrent(QStringLiteral(TERRAVALE_DATA_DIR));
    setSoundPlayer(std::make_shared<SilentPlayer>());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    unloadAllForms();
    return 0;
}
