// Reading pages: the largest page played at 800 x 600, Next Page until the new page is painted,
// and the logo animation (one tick with its repaint; the running timer's share of a core).
#include "platform/screen.h"
#include "platform/sound.h"
#include "platform/wmf.h"
#include "shell/app.h"
#include "shell/session.h"
#include "topics/teacher.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <ctime>

using namespace terravale;

namespace {
class SilentPlayer : public SoundPlayer {
public:
    void play(const QString &) override {}
};

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

teacher &shownViewer()
{
    openPages(5, QStringLiteral("key resources"), QStringLiteral("wmf\\key resourcesa.wmf"),
              QStringLiteral("wmf2\\key resourcesa.wmf"));
    teacher &viewer = *loadedForm<teacher>();
    if (!QTest::qWaitForWindowExposed(&viewer))
        qWarning("not exposed");
    QCoreApplication::processEvents();
    return viewer;
}
} // namespace

// The largest screen page, played into an 800 x 600 picture.
static void BM_PlayLargestPage(benchmark::State &state)
{
    QString largest;
    qint64 bytes = 0;
    for (const QFileInfo &info : QDir(QStringLiteral("wmf")).entryInfoList({QStringLiteral("*.wmf")}, QDir::Files))
        if (info.size() > bytes) {
            bytes = info.size();
            largest = info.filePath();
        }
    QFile file(largest);
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no pages");
        return;
    }
    const PictureHandle page = readWmf(file.readAll());
    if (!page) {
        state.SkipWithError("page does not read");
        return;
    }
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        page->paint(painter, QRectF(0, 0, 800, 600));
    }
    state.SetLabel(largest.toStdString() + " (" + std::to_string(bytes) + " bytes)");
}
BENCHMARK(BM_PlayLargestPage)->Unit(benchmark::kMicrosecond);

// Next Page (Previous Page on the way back) until the new page is on the screen.
static void BM_NextPagePainted(benchmark::State &state)
{
    teacher &viewer = shownViewer();
    for (auto _ : state) {
        viewer.Label3_Click(session().pagenum < 5 && viewer.Label3(2).isEnabled() ? 2 : 3);
        if (session().pagenum == 1)
            viewer.Label3(2).setEnabled(true);
        viewer.repaint();
    }
    if (!viewer.Image1->picture())
        state.SkipWithError("page not shown");
    unloadAllForms();
}
BENCHMARK(BM_NextPagePainted)->Unit(benchmark::kMillisecond);

// One logo tick: the next frame read and the two logo boxes repainted.
static void BM_LogoTick(benchmark::State &state)
{
    openAcknowledgments();
    teacher &viewer = *loadedForm<teacher>();
    viewer.Timer1->stop();
    if (!QTest::qWaitForWindowExposed(&viewer))
        qWarning("not exposed");
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        viewer.Timer1_Timer();
        viewer.Picture1->repaint();
    }
    const double perTick = clock.nsecsElapsed() / 1e9 / double(state.iterations());
    state.counters["percent_of_core_at_25ms"] = perTick / 0.025 * 100.0;
    unloadAllForms();
}
BENCHMARK(BM_LogoTick)->Unit(benchmark::kMicrosecond);

// The Acknowledgments left open for a second, animation on (1) or off (0): the process's
// processor time against the wall clock. The difference is what the animation costs.
static void BM_LogoRunning(benchmark::State &state)
{
    openAcknowledgments();
    teacher &viewer = *loadedForm<teacher>();
    if (!state.range(0))
        viewer.Timer1->stop();
    if (!QTest::qWaitForWindowExposed(&viewer))
        qWarning("not exposed");
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double c0 = cpuSeconds();
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        cpu += cpuSeconds() - c0;
        wall += clock.nsecsElapsed() / 1e9;
    }
    state.counters["percent_of_core"] = cpu / wall * 100.0;
    unloadAllForms();
}
BENCHMARK(BM_LogoRunning)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

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
