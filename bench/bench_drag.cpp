// Dragging: one pointer-move step (handler, widget move, repaint request; and until the repaint
// is done, beside a plain label moved as far and repainted) and one drop with snapping and the
// completion check.
#include "benchsupport.h"

#include "activities/activityscreen.h"
#include "rules/topictable.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "shell/app.h"
#include "rules/session.h"

#include <QApplication>
#include <QDir>
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
    if (bench::timeUntilWindowPainted([&] { screen.showInFront(); }, &screen) < 0)
        qWarning("never painted");
    bench::settle();
    return screen;
}
} // namespace

// A move step over the photographs: the handler moves the label and asks for the repaint.
static void BM_MoveStep(benchmark::State &state)
{
    ActivityScreen &screen = prepared(activityScreen(activityDef(QStringLiteral("rubbishlab"))));
    float x = 4000;
    for (auto _ : state) {
        x = x > 9000 ? 4000 : x + 45;
        dragCentreTo(screen, 0, x, 4500);
    }
    QCoreApplication::processEvents();
    unloadAllForms();
}
BENCHMARK(BM_MoveStep)->Unit(benchmark::kMicrosecond);

// The same step until the repaint is done (labels over the pictures); the floor is a plain label
// of the same size moved as far (3 pixels) in a window of its own.
static void BM_MoveStepPainted(benchmark::State &state)
{
    ActivityScreen &screen = prepared(activityScreen(activityDef(QStringLiteral("rubbishlab"))));
    bench::MoveFloor floor(screen.Label2(0).size());
    bench::FloorRatio ratio;
    float x = 4000;
    for (auto _ : state) {
        x = x > 9000 ? 4000 : x + 45;
        const double own = bench::timeUntilWindowPainted([&] { dragCentreTo(screen, 0, x, 4500); }, &screen);
        const double moved = floor.sample(3);
        if (own < 0 || moved < 0) {
            state.SkipWithError("the step or the floor's label was never painted");
            break;
        }
        state.SetIterationTime(own);
        ratio.add(own, moved);
    }
    ratio.report(state);
    unloadAllForms();
}
BENCHMARK(BM_MoveStepPainted)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The floor alone: a plain label moved 3 pixels and repainted.
static void BM_FloorLabelMoved(benchmark::State &state)
{
    bench::MoveFloor floor(QSize(150, 40));
    for (auto _ : state) {
        const double seconds = floor.sample(3);
        if (seconds < 0) {
            state.SkipWithError("never painted");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_FloorLabelMoved)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A drop that snaps into a box, then the completion check over 9 x 9 pairs (all placed).
static void BM_DropSnapAndCheck(benchmark::State &state)
{
    session().soundon = 1;
    ActivityScreen &screen = prepared(activityScreen(activityDef(QStringLiteral("resourcesord"))));
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
    DragEngine engine = engineFor(activityDef(QStringLiteral("resourcesord")));
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
