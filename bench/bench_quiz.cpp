// The quiz road: reading a question set, hub to first question, "Check Score >>" to results.
#include "platform/filechannel.h"
#include "platform/messagebox.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "quiz/multiple.h"
#include "quiz/questionset.h"
#include "quiz/welldone.h"
#include "shell/app.h"
#include "shell/session.h"
#include "topics/rubbish.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

using namespace terravale;

namespace {
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A set with texts of a realistic length, commas included.
QuestionSet benchSet()
{
    QuestionSet set;
    set.title = QStringLiteral("Rubbish, recycling and landfill");
    for (int n = 1; n <= 10; ++n) {
        set.quest[n] = QStringLiteral("Which of these, question %1, can go into the glass bank at the shops?").arg(n);
        set.answera[n] = QStringLiteral("Empty jam jars, rinsed");
        set.answerb[n] = QStringLiteral("Old newspapers and magazines");
        set.answerc[n] = QStringLiteral("Plastic carrier bags");
        set.answerd[n] = QStringLiteral("Used batteries");
        set.correct[n] = QString::number((n - 1) % 4 + 1);
    }
    return set;
}

void prepareData(QTemporaryDir &dir)
{
    for (const char *folder : {"Images", "wav", "multiple"}) {
        QDir source(QStringLiteral(TERRAVALE_DATA_DIR) + QLatin1Char('/') + QLatin1String(folder));
        QDir().mkpath(dir.filePath(QLatin1String(folder)));
        for (const QString &file : source.entryList(QDir::Files))
            QFile::copy(source.filePath(file), dir.filePath(QLatin1String(folder) + QLatin1Char('/') + file));
    }
    QDir::setCurrent(dir.path());
    fileChannel().openWrite(QStringLiteral("multiple/Bench.txt"));
    writeQuestionSet(fileChannel(), benchSet());
    fileChannel().close();
    if (!QFile::exists(QStringLiteral("multiple/Rubbish.txt")))
        QFile::copy(QStringLiteral("multiple/Bench.txt"), QStringLiteral("multiple/Rubbish.txt"));
}

rubbish &shownHub()
{
    rubbish &hub = form<rubbish>();
    hub.show();
    if (!QTest::qWaitForWindowExposed(&hub))
        qWarning("the hub was never shown; timings include its first exposure");
    return hub;
}
} // namespace

static void BM_LoadQuestions(benchmark::State &state)
{
    for (auto _ : state) {
        fileChannel().openRead(QStringLiteral("multiple/Bench.txt"));
        loadquestions();
        fileChannel().close();
    }
    if (session().worktitle != benchSet().title)
        state.SkipWithError("set not loaded");
}
BENCHMARK(BM_LoadQuestions)->Unit(benchmark::kMicrosecond);

static void BM_HubToFirstQuestion(benchmark::State &state)
{
    rubbish &hub = shownHub();
    for (auto _ : state) {
        hub.Label3_Click(0);
        multiple *quiz = loadedForm<multiple>();
        if (!quiz) {
            state.SkipWithError("quiz not opened");
            break;
        }
        if (!QTest::qWaitForWindowExposed(quiz)) {
            state.SkipWithError("quiz never shown");
            break;
        }
        QCoreApplication::processEvents();
        state.PauseTiming();
        unloadForm<multiple>();
        settle();
        state.ResumeTiming();
    }
    unloadAllForms();
    settle();
}
BENCHMARK(BM_HubToFirstQuestion)->Unit(benchmark::kMillisecond);

static void BM_CheckScoreToResults(benchmark::State &state)
{
    rubbish &hub = shownHub();
    for (auto _ : state) {
        state.PauseTiming();
        hub.Label3_Click(0);
        multiple &quiz = *loadedForm<multiple>();
        if (!QTest::qWaitForWindowExposed(&quiz)) {
            state.SkipWithError("quiz never shown");
            break;
        }
        for (int n = 1; n <= 9; ++n)
            quiz.Label3_Click(1);
        settle();
        state.ResumeTiming();
        quiz.Label3_Click(1);   // "Check Score >>"
        Welldone *results = loadedForm<Welldone>();
        if (!results) {
            state.SkipWithError("results not shown");
            break;
        }
        if (!QTest::qWaitForWindowExposed(results)) {
            state.SkipWithError("results never shown");
            break;
        }
        QCoreApplication::processEvents();
        state.PauseTiming();
        results->Label3_Click(1);
        settle();
        state.ResumeTiming();
    }
    unloadAllForms();
    settle();
}
BENCHMARK(BM_CheckScoreToResults)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    startProgram(app);
    QTemporaryDir dir;
    prepareData(dir);
    setMessageBoxes(std::make_shared<ScriptedMessageBoxes>());
    setSoundPlayer(std::make_shared<RecordingSoundPlayer>());
    session().soundon = 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    unloadAllForms();
    return 0;
}
