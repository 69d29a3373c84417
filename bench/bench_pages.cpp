// Reading pages: the largest page played at 800 x 600; Next Page and Previous Page until the new
// page is painted, beside a label changed in place and repainted (the floor of a page turn); one
// logo tick until painted; and the running logo animation's share of a core, the X server's
// share included when the program runs under X.
#include "benchsupport.h"

#include "platform/screen.h"
#include "platform/sound.h"
#include "platform/wmf.h"
#include "shell/app.h"
#include "rules/session.h"
#include "topics/teacher.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <ctime>
#include <optional>
#include <unistd.h>

using namespace terravale;

namespace {
class SilentPlayer : public SoundPlayer {
public:
    void play(const QString &) override {}
};

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// The X server's process, from the lock file it keeps for its display; 0 without one.
pid_t xServerPid()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return 0;
    const QString display = qEnvironmentVariable("DISPLAY");
    const int colon = display.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return 0;
    const QString number = display.mid(colon + 1).section(QLatin1Char('.'), 0, 0);
    QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(number));
    if (!lock.open(QIODevice::ReadOnly))
        return 0;
    return pid_t(lock.readAll().trimmed().toLongLong());
}

// Processor time (user and system) a process has used, from /proc; nothing if it cannot be read.
std::optional<double> cpuSecondsOf(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return std::nullopt;
    // Fields 14 and 15 of the line; the list starts at field 3.
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

teacher &shownViewer()
{
    teacher *viewer = nullptr;
    bench::timeUntilWindowPainted(
        [&] {
            openPages(5, QStringLiteral("key resources"), QStringLiteral("wmf\\key resourcesa.wmf"),
                      QStringLiteral("wmf2\\key resourcesa.wmf"));
            viewer = loadedForm<teacher>();
        },
        [&] { return static_cast<QWidget *>(viewer); });
    bench::settle();
    return *loadedForm<teacher>();
}

// One page turn (2 Next Page, 3 Previous Page) until the new page is painted, beside the floor.
// The way back (or forward) to where the turns start again is not timed.
void pageTurns(benchmark::State &state, int button)
{
    teacher &viewer = shownViewer();
    bench::LabelFloor floor;
    bench::FloorRatio ratio;
    const int startPage = button == 2 ? 1 : 5;
    const int back = button == 2 ? 3 : 2;
    if (!floor.ready())
        state.SkipWithError("the floor's label was never painted");
    for (auto _ : state) {
        if (session().pagenum == 6 - startPage) {
            bench::timeUntilPainted(
                [&] {
                    while (session().pagenum != startPage)
                        viewer.Label3_Click(back);
                },
                viewer.Image1);
        }
        const int page = session().pagenum;
        const double own = bench::timeUntilPainted([&] { viewer.Label3_Click(button); }, viewer.Image1);
        if (own < 0 || session().pagenum == page) {
            state.SkipWithError("the new page was never painted");
            break;
        }
        state.SetIterationTime(own);
        const double label = floor.sample();
        if (label < 0) {
            state.SkipWithError("the floor's label was never painted");
            break;
        }
        ratio.add(own, label);
    }
    if (!viewer.Image1->picture())
        state.SkipWithError("page not shown");
    ratio.report(state);
    unloadAllForms();
    bench::settle();
}
} // namespace

// The floor alone: a label's text changed in place and repainted.
static void BM_FloorLabelChanged(benchmark::State &state)
{
    bench::LabelFloor floor;
    for (auto _ : state) {
        const double seconds = floor.sample();
        if (seconds < 0) {
            state.SkipWithError("never painted");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_FloorLabelChanged)->UseManualTime()->Unit(benchmark::kMicrosecond);

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

// Next Page (pages 1 to 5 of a page set) until the new page is painted.
static void BM_NextPagePainted(benchmark::State &state)
{
    pageTurns(state, 2);
}
BENCHMARK(BM_NextPagePainted)->UseManualTime()->Unit(benchmark::kMillisecond);

// Previous Page (pages 5 to 1) until the new page is painted.
static void BM_PreviousPagePainted(benchmark::State &state)
{
    pageTurns(state, 3);
}
BENCHMARK(BM_PreviousPagePainted)->UseManualTime()->Unit(benchmark::kMillisecond);

// One logo tick (the next frame read or taken from those read, the logo boxes updated) until the
// frame is painted; the floor is a label changed in place.
static void BM_LogoTick(benchmark::State &state)
{
    openAcknowledgments();
    teacher &viewer = *loadedForm<teacher>();
    viewer.Timer1->stop();
    bench::timeUntilWindowPainted([] {}, &viewer, 1000);
    bench::settle();
    bench::LabelFloor floor;
    bench::FloorRatio ratio;
    for (auto _ : state) {
        const double own = bench::timeUntilPainted([&] { viewer.Timer1_Timer(); }, viewer.Picture1);
        const double label = floor.sample();
        if (own < 0 || label < 0) {
            state.SkipWithError("the logo or the floor's label was never painted");
            break;
        }
        state.SetIterationTime(own);
        ratio.add(own, label);
    }
    ratio.report(state);
    unloadAllForms();
    bench::settle();
}
BENCHMARK(BM_LogoTick)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The Acknowledgments left open for 3 s with the event loop running as in use, the animation on
// (1) or off (0): processor time of this process and, under X, of the X server, as a percentage
// of one core.
static void BM_LogoRunningCpu(benchmark::State &state)
{
    openAcknowledgments();
    teacher &viewer = *loadedForm<teacher>();
    if (!state.range(0))
        viewer.Timer1->stop();
    bench::timeUntilWindowPainted([] {}, &viewer, 1000);
    bench::settle(200);
    const pid_t server = xServerPid();
    double process = 0, xserver = 0, wall = 0;
    bool serverRead = server != 0;
    for (auto _ : state) {
        const double c0 = processCpuSeconds();
        const std::optional<double> x0 = server ? cpuSecondsOf(server) : std::nullopt;
        const auto start = bench::Clock::now();
        QEventLoop loop;
        QTimer::singleShot(3000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        wall += bench::secondsSince(start);
        process += processCpuSeconds() - c0;
        const std::optional<double> x1 = server ? cpuSecondsOf(server) : std::nullopt;
        if (x0 && x1)
            xserver += *x1 - *x0;
        else
            serverRead = false;
    }
    if (state.range(0) && viewer.logoFrameShown().isEmpty())
        state.SkipWithError("the logo never moved");
    state.counters["process_pct"] = process / wall * 100.0;
    if (serverRead) {
        state.counters["xserver_pct"] = xserver / wall * 100.0;
        state.counters["total_pct"] = (process + xserver) / wall * 100.0;
    }
    unloadAllForms();
    bench::settle();
}
BENCHMARK(BM_LogoRunningCpu)->ArgName("animation")->Arg(0)->Arg(1)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

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
