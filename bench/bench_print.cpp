// Building and spooling a certificate and a worksheet to the default printer (under
// tools/services.sh: the CUPS PDF printer). Each iteration queues one real job.
#include "platform/fonts.h"
#include "platform/printer.h"
#include "rules/certificate.h"
#include "rules/questionset.h"
#include "rules/worksheetprint.h"

#include <QApplication>
#include <QFontMetricsF>
#include <benchmark/benchmark.h>

using namespace terravale;

namespace {
constexpr int kJobs = 20;   // each job is turned into a PDF by the print server afterwards

QuestionSet benchSet()
{
    QuestionSet set;
    set.title = QStringLiteral("Rubbish, bins and tips");
    for (int n = 1; n <= 10; ++n) {
        const QString num = QString::number(n);
        set.quest[n] = QStringLiteral("Which of these things can be recycled at the bottle bank, question ") + num + u'?';
        set.answera[n] = QStringLiteral("Glass jars ") + num;
        set.answerb[n] = QStringLiteral("Crisp packets ") + num;
        set.answerc[n] = QStringLiteral("Old batteries ") + num;
        set.answerd[n] = QStringLiteral("Banana skins ") + num;
    }
    return set;
}

void BM_CertificateToPrinter(benchmark::State &state)
{
    CupsPrinter printer;
    const QFontMetricsF screen(designFont(QStringLiteral("Tahoma"), 8));
    const CertificateText text{QStringLiteral("Terravale"), QStringLiteral("Amy Lee"), 10, 10};
    for (auto _ : state) {
        try {
            printCertificate(printer, text, [&](const QString &s) { return screen.horizontalAdvance(s) * 15.0; });
        } catch (const PrintError &e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}
BENCHMARK(BM_CertificateToPrinter)->Unit(benchmark::kMillisecond)->Iterations(kJobs);

void BM_WorksheetToPrinter(benchmark::State &state)
{
    CupsPrinter printer;
    const QuestionSet set = benchSet();
    for (auto _ : state) {
        try {
            printWorksheet(printer, QStringLiteral("Terravale"), set);
        } catch (const PrintError &e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}
BENCHMARK(BM_WorksheetToPrinter)->Unit(benchmark::kMillisecond)->Iterations(kJobs);
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    registerFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
