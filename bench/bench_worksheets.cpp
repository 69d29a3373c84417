// Catalogue read, worksheet save (file and catalogue, atomically) and browser paging until the
// new page is painted, beside 24 plain labels changed in place and repainted.
#include "benchsupport.h"
#include "doubles.h"

#include "platform/messagebox.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "shell/app.h"
#include "rules/session.h"
#include "rules/authoring.h"
#include "rules/catalogue.h"
#include "worksheets/worksheets.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace terravale;

namespace {
void writeFullCatalogue()
{
    QFile track(QStringLiteral("multiple/track.txt"));
    track.open(QIODevice::WriteOnly);
    track.write(" 1000 \r\n");
    for (int i = 1; i <= 1000; ++i)
        track.write("Worksheet number " + QByteArray::number(i) + "\r\n");
}

WorksheetEntries entries(const QString &title)
{
    WorksheetEntries e;
    e.title = title;
    for (int q = 0; q < 10; ++q) {
        e.questions[q] = QStringLiteral("Which of these, if any, can be recycled at school?");
        for (int k = 0; k < 4; ++k)
            e.choices[4 * q + k] = QStringLiteral("A choice of thirty characters");
        e.ticks[4 * q + 1] = true;
    }
    return e;
}
} // namespace

static void BM_ReadFullCatalogue(benchmark::State &state)
{
    writeFullCatalogue();
    Session s;
    for (auto _ : state) {
        readCatalogue(s);
        benchmark::DoNotOptimize(s.numsheets);
    }
}
BENCHMARK(BM_ReadFullCatalogue)->Unit(benchmark::kMicrosecond);

// Saving under a listed title in a 999-title catalogue: worksheet written, catalogue read.
static void BM_SaveListedWorksheet(benchmark::State &state)
{
    writeFullCatalogue();
    Session s;
    s.delsheet = QStringLiteral("Worksheet number 1000");
    delworksheet(s);
    storeWorksheet(s, entries(QStringLiteral("Worksheet number 500")));
    for (auto _ : state) {
        if (storeWorksheet(s, entries(QStringLiteral("Worksheet number 500"))) != kSavedMessage)
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveListedWorksheet)->Unit(benchmark::kMicrosecond);

// Saving a new title into a 999-title catalogue: worksheet and rewritten catalogue, both atomic.
static void BM_SaveNewWorksheet(benchmark::State &state)
{
    writeFullCatalogue();
    Session s;
    s.delsheet = QStringLiteral("Worksheet number 1000");
    delworksheet(s);
    s.delsheet = QStringLiteral("Brand new");
    for (auto _ : state) {
        state.PauseTiming();
        delworksheet(s);   // back to 999 titles without the new one
        state.ResumeTiming();
        if (storeWorksheet(s, entries(QStringLiteral("Brand new"))) != kSavedMessage)
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveNewWorksheet)->Unit(benchmark::kMicrosecond);

static void BM_PageThroughFullCatalogue(benchmark::State &state)
{
    writeFullCatalogue();
    worksheets &browser = form<worksheets>();
    if (bench::timeUntilWindowPainted([&] { browser.show(); }, &browser) < 0)
        state.SkipWithError("the catalogue was never painted");
    bench::settle();
    bench::LabelFloor floor(worksheets::kSlots);
    bench::FloorRatio ratio;
    for (auto _ : state) {
        session().catpage = (session().catpage + 1) % 42;
        const double own = bench::timeUntilWindowPainted([&] { browser.workpage(); }, &browser);
        const double labels = floor.sample();
        if (own < 0 || labels < 0) {
            state.SkipWithError("the page or the floor's labels were never painted");
            break;
        }
        state.SetIterationTime(own);
        ratio.add(own, labels);
    }
    ratio.report(state);
    unloadAllForms();
}
BENCHMARK(BM_PageThroughFullCatalogue)->UseManualTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    startProgram(app);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("multiple")));
    QDir::setCurrent(dir.path());
    setMessageBoxes(std::make_shared<ScriptedMessageBoxes>());
    setSoundPlayer(std::make_shared<RecordingSoundPlayer>());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    unloadAllForms();
    return 0;
}
