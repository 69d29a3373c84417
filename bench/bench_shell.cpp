// The shell's screens under a real window system or offscreen: the title screen shown, "OK" to
// the menu with a 1000-title catalogue read, and the menu shown with its topics. Each is timed
// until the screen's own paint event has been handled, beside a new empty window of the same
// size shown the same way (its floor), measured in the same iterations.
#include "benchsupport.h"
#include "doubles.h"

#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "shell/app.h"
#include "shell/grey.h"
#include "shell/intro0.h"
#include "rules/session.h"
#include "shell/titlefrm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

using namespace terravale;
using bench::Clock;

namespace {
void prepareData(QTemporaryDir &dir)
{
    QDir().mkpath(dir.filePath(QStringLiteral("multiple")));
    for (const char *folder : {"Images", "wav"}) {
        QDir source(QStringLiteral(TERRAVALE_DATA_DIR) + QLatin1Char('/') + QLatin1String(folder));
        QDir().mkpath(dir.filePath(QLatin1String(folder)));
        for (const QString &file : source.entryList(QDir::Files))
            QFile::copy(source.filePath(file), dir.filePath(QLatin1String(folder) + QLatin1Char('/') + file));
    }
    QFile track(dir.filePath(QStringLiteral("multiple/track.txt")));
    track.open(QIODevice::WriteOnly);
    track.write(" 1000 \r\n");
    for (int i = 1; i <= 1000; ++i)
        track.write("Worksheet number " + QByteArray::number(i) + "\r\n");
}

template <class T>
QWidget *loadedScreen()
{
    return loadedForm<T>();
}

// Closes every screen and lets the window system finish with them (not timed).
void closeAll()
{
    unloadAllForms();
    bench::settle();
}

// The floor of one iteration, or an error on the state when the empty window never painted.
bool addFloor(benchmark::State &state, bench::FloorRatio &ratio, double own, QSize size)
{
    const double floor = bench::newWindowShown(size);
    bench::settle();
    if (floor < 0) {
        state.SkipWithError("the empty window was never painted");
        return false;
    }
    ratio.add(own, floor);
    return true;
}
} // namespace

// The floor alone: a new empty window of the given size shown until painted.
static void BM_FloorNewWindowShown(benchmark::State &state)
{
    const QSize size(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        const double seconds = bench::newWindowShown(size);
        if (seconds < 0) {
            state.SkipWithError("never painted");
            break;
        }
        state.SetIterationTime(seconds);
        bench::settle();
    }
}
BENCHMARK(BM_FloorNewWindowShown)->ArgNames({"w", "h"})->Args({364, 438})->Args({800, 600})->UseManualTime()->Unit(benchmark::kMillisecond);

// The title screen loaded (with the backdrop it shows) and shown until painted, as the program
// starts; the floor is an empty window of the title screen's size.
static void BM_TitleScreenShown(benchmark::State &state)
{
    closeAll();
    const QSize size = form<Titlefrm>().size();
    closeAll();
    bench::FloorRatio ratio;
    for (auto _ : state) {
        const double own = bench::timeUntilWindowPainted([] { form<Titlefrm>().show(); }, &loadedScreen<Titlefrm>);
        if (own < 0) {
            state.SkipWithError("the title screen was never painted");
            break;
        }
        state.SetIterationTime(own);
        closeAll();
        if (!addFloor(state, ratio, own, size))
            break;
    }
    ratio.report(state);
    closeAll();
}
BENCHMARK(BM_TitleScreenShown)->UseManualTime()->Unit(benchmark::kMillisecond);

// "OK" on the title screen until the menu is painted and its timer has read the 1000 titles of
// the catalogue; the floor is a new empty window of the menu's size.
static void BM_OkToMenuWithFullCatalogue(benchmark::State &state)
{
    bench::FloorRatio ratio;
    for (auto _ : state) {
        resetSession();
        if (bench::timeUntilWindowPainted([] { form<Titlefrm>().show(); }, &loadedScreen<Titlefrm>) < 0) {
            state.SkipWithError("the title screen was never painted");
            break;
        }
        bench::settle();
        const auto start = Clock::now();
        const double painted = bench::timeUntilWindowPainted([] { form<Titlefrm>().Command1_Click(); }, &loadedScreen<intro0>);
        intro0 *menu = loadedForm<intro0>();
        while (painted >= 0 && menu && menu->Timer1->isActive() && bench::secondsSince(start) < 5)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double own = bench::secondsSince(start);
        if (painted < 0 || !menu || menu->Timer1->isActive()) {
            state.SkipWithError("the menu was never painted or never read the catalogue");
            break;
        }
        if (session().numsheets != 1000) {
            state.SkipWithError("catalogue not read");
            break;
        }
        state.SetIterationTime(own);
        const QSize size = menu->size();
        closeAll();
        if (!addFloor(state, ratio, own, size))
            break;
    }
    ratio.report(state);
    closeAll();
}
BENCHMARK(BM_OkToMenuWithFullCatalogue)->UseManualTime()->Unit(benchmark::kMillisecond);

// The menu loaded and shown in front of the backdrop until painted with its topic buttons; its
// catalogue timer runs as it does, before or after the paint. Floor: a new window of its size.
static void BM_MenuShown(benchmark::State &state)
{
    bench::FloorRatio ratio;
    for (auto _ : state) {
        resetSession();
        form<Grey>().showBackdrop();
        bench::settle();
        const double own = bench::timeUntilWindowPainted([] { form<intro0>().showInFront(); }, &loadedScreen<intro0>);
        if (own < 0) {
            state.SkipWithError("the menu was never painted");
            break;
        }
        state.SetIterationTime(own);
        const QSize size = loadedForm<intro0>()->size();
        closeAll();
        if (!addFloor(state, ratio, own, size))
            break;
    }
    ratio.report(state);
    closeAll();
}
BENCHMARK(BM_MenuShown)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    startProgram(app);
    QTemporaryDir dir;
    prepareData(dir);
    QDir::setCurrent(dir.path());
    setMessageBoxes(std::make_shared<ScriptedMessageBoxes>());
    setSoundPlayer(std::make_shared<RecordingSoundPlayer>());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    unloadAllForms();
    return 0;
}
