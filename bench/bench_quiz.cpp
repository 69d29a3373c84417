// The quiz road: reading a question set; the hub to the first question, "Next Question >>" and
// "Check Score >>" to the results, each until painted, beside its floor measured in the same
// iterations (a new window shown for a change of screen, a label changed in place for a new
// question).
#include "benchsupport.h"
#include "doubles.h"

#include "platform/filechannel.h"
#include "platform/messagebox.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "quiz/multiple.h"
#include "rules/questionset.h"
#include "quiz/welldone.h"
#include "shell/app.h"
#include "rules/session.h"
#include "topics/topichub.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace terravale;

namespace {
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

TopicHub &shownHub()
{
    TopicHub *hub = nullptr;
    if (bench::timeUntilWindowPainted([&] { (hub = &topicHub(QStringLiteral("rubbish")))->show(); }, [&] { return static_cast<QWidget *>(hub); }) < 0)
        qWarning("the hub was never painted");
    bench::settle();
    return *hub;
}

QWidget *loadedQuiz()
{
    return loadedForm<multiple>();
}

QWidget *loadedResults()
{
    return loadedForm<Welldone>();
}

// The floor of a change of screen, after the step's own screen is gone; false (and an error on
// the state) when the new window was never painted.
bool addWindowFloor(benchmark::State &state, bench::FloorRatio &ratio, double own)
{
    const double floor = bench::newWindowShown(QSize(800, 600));
    bench::settle();
    if (floor < 0) {
        state.SkipWithError("the empty window was never painted");
        return false;
    }
    ratio.add(own, floor);
    return true;
}
} // namespace

static void BM_LoadQuestions(benchmark::State &state)
{
    for (auto _ : state) {
        loadQuestionFile(QStringLiteral("multiple/Bench.txt"));
    }
    if (session().set.title != benchSet().title)
        state.SkipWithError("set not loaded");
}
BENCHMARK(BM_LoadQuestions)->Unit(benchmark::kMicrosecond);

// The floor of a change of screen alone: a new empty 800 x 600 window shown until painted.
static void BM_FloorNewWindowShown(benchmark::State &state)
{
    for (auto _ : state) {
        const double seconds = bench::newWindowShown(QSize(800, 600));
        if (seconds < 0) {
            state.SkipWithError("never painted");
            break;
        }
        state.SetIterationTime(seconds);
        bench::settle();
    }
}
BENCHMARK(BM_FloorNewWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond);

// The floor of a new question alone: a label's text changed in place and repainted.
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

// "Multiple Choice" on the hub: the set read, the quiz loaded and shown until painted.
static void BM_HubToFirstQuestion(benchmark::State &state)
{
    TopicHub &hub = shownHub();
    bench::FloorRatio ratio;
    for (auto _ : state) {
        const double own = bench::timeUntilWindowPainted([&] { hub.Label3_Click(0); }, &loadedQuiz);
        if (own < 0) {
            state.SkipWithError("the quiz was never painted");
            break;
        }
        state.SetIterationTime(own);
        unloadForm<multiple>();
        bench::settle();
        if (!addWindowFloor(state, ratio, own))
            break;
    }
    ratio.report(state);
    unloadAllForms();
    bench::settle();
}
BENCHMARK(BM_HubToFirstQuestion)->UseManualTime()->Unit(benchmark::kMillisecond);

// "Next Question >>" on questions 1 to 9 until the next question is painted; going back to the
// first question is not timed.
static void BM_NextQuestionPainted(benchmark::State &state)
{
    TopicHub &hub = shownHub();
    if (bench::timeUntilWindowPainted([&] { hub.Label3_Click(0); }, &loadedQuiz) < 0) {
        state.SkipWithError("the quiz was never painted");
        return;
    }
    multiple &quiz = *loadedForm<multiple>();
    bench::settle();
    bench::LabelFloor floor;
    bench::FloorRatio ratio;
    for (auto _ : state) {
        if (session().questno >= 10) {
            bench::timeUntilPainted(
                [&] {
                    session().questno = 1;
                    quiz.showquest();
                },
                quiz.Label4);
        }
        const int question = session().questno;
        const double own = bench::timeUntilPainted([&] { quiz.Label3_Click(1); }, quiz.Label4);
        if (own < 0 || session().questno != question + 1) {
            state.SkipWithError("the next question was never painted");
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
    ratio.report(state);
    unloadAllForms();
    bench::settle();
}
BENCHMARK(BM_NextQuestionPainted)->UseManualTime()->Unit(benchmark::kMillisecond);

// "Check Score >>" on question 10: the quiz marked, the results loaded and shown until painted.
static void BM_CheckScoreToResults(benchmark::State &state)
{
    TopicHub &hub = shownHub();
    bench::FloorRatio ratio;
    for (auto _ : state) {
        if (bench::timeUntilWindowPainted([&] { hub.Label3_Click(0); }, &loadedQuiz) < 0) {
            state.SkipWithError("the quiz was never painted");
            break;
        }
        multiple &quiz = *loadedForm<multiple>();
        for (int n = 1; n <= 9; ++n)
            quiz.Label3_Click(1);
        bench::settle();
        const double own = bench::timeUntilWindowPainted([&] { quiz.Label3_Click(1); }, &loadedResults);
        if (own < 0) {
            state.SkipWithError("the results were never painted");
            break;
        }
        state.SetIterationTime(own);
        loadedForm<Welldone>()->Label3_Click(1);
        bench::settle();
        if (!addWindowFloor(state, ratio, own))
            break;
    }
    ratio.report(state);
    unloadAllForms();
    bench::settle();
}
BENCHMARK(BM_CheckScoreToResults)->UseManualTime()->Unit(benchmark::kMillisecond);

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
