// Title screen load and "OK" to the menu with a 1000-title catalogue read.
#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "shell/app.h"
#include "shell/intro0.h"
#include "shell/session.h"
#include "shell/titlefrm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>

using namespace terravale;

namespace {
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void prepareData(QTemporaryDir &dir)
{
    QDir().mkpath(dir.filePath(QStringLiteral("multiple")));
    QDir(QStringLiteral(TERRAVALE_DATA_DIR)).entryList();
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
} // namespace

static void BM_TitleScreenShown(benchmark::State &state)
{
    for (auto _ : state) {
        Titlefrm &title = form<Titlefrm>();
        title.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&title));
        state.PauseTiming();
        unloadAllForms();
        settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TitleScreenShown)->Unit(benchmark::kMillisecond);

static void BM_OkToMenuWithFullCatalogue(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        resetSession();
        form<Titlefrm>().show();
        settle();
        state.ResumeTiming();
        form<Titlefrm>().Command1_Click();
        intro0 &menu = *loadedForm<intro0>();
        QTest::qWaitForWindowExposed(&menu);
        while (menu.Timer1->isActive())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (session().numsheets != 1000)
            state.SkipWithError("catalogue not read");
        state.PauseTiming();
        unloadAllForms();
        settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OkToMenuWithFullCatalogue)->Unit(benchmark::kMillisecond);

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
