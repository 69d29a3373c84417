// Reads mutated Aiken and GIFT files (bit flips, stray bytes, insertions of the formats' marks,
// cuts, duplicated and swapped lines, changed line ends and byte order marks) with a fixed seed,
// each through both readers. Built with AddressSanitizer and UBSan: a bad access ends the run with
// a report. Every result must be a refusal with a message, or at most ten questions the wizard
// can take as they are.
// Usage: exchange_fuzz [files] [seed]
#include "rules/exchange.h"
#include "rules/authoring.h"

#include <QElapsedTimer>

#include <cstdio>
#include <random>

using namespace terravale;
using namespace Qt::StringLiterals;

namespace {

std::mt19937 rng;

int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

QString randomText(int limit)
{
    static const QString alphabet = u"abcdefghijklmnopqrstuvwxyzABCD0123456789   ,.:{}~=#\\%[]<>&\"'-\u00e9\u20ac\u2605"_s;
    QString t;
    const int length = 1 + pick(limit);
    while (t.size() < length)
        t += alphabet.at(pick(int(alphabet.size())));
    return t;
}

QuestionSet randomSet()
{
    QuestionSet set;
    set.title = u"Fuzz %1"_s.arg(pick(1000));
    for (int n = 1; n <= 10; ++n) {
        set.quest[n] = randomText(70);
        set.answera[n] = randomText(35);
        set.answerb[n] = randomText(35);
        set.answerc[n] = randomText(35);
        set.answerd[n] = randomText(35);
        set.correct[n] = QString::number(1 + pick(4));
    }
    return set;
}

QList<QByteArray> seeds()
{
    QList<QByteArray> files;
    for (int i = 0; i < 4; ++i) {
        const QuestionSet set = randomSet();
        files << aikenText(set).toUtf8() << giftText(set).toUtf8();
    }
    files << giftText(QList<QuestionSet>{randomSet(), randomSet()}).toUtf8();
    files << QByteArray("\xEF\xBB\xBFWhat is the largest ocean?\r\nA. Atlantic\r\nB) Pacific\r\nC. Indian\r\n"
                        "D. Arctic\r\nANSWER: B\r\n\r\nOdd?\nA. 1\nB. 2\nC. 3\nD. 4\nE. 5\nANSWER: e\n\n"
                        "Two?\nA. a\nB. b\nC. c\nD. d\nANSWER: A, C\n");
    files << QByteArray("// comment\n$CATEGORY: $course$/top/Rivers\n\n::Q1::[html]<p>What is <b>H2O</b>&amp;?</p>{\n"
                        "\t=Water#Right\n\t~%50%Ice\n\t~%-25%Fire\n\t~Air\n####General\n}\n\n"
                        "Grant is {~buried =entombed ~living ~dead} in Grant's tomb.\n\n"
                        "True?{TRUE}\n\nEssay{}\n\nWhen?{#1822:5}\n\nMatch{=a -> b =c -> d}\n\n"
                        "Esc \\{ \\} \\= \\~ \\# \\: \\\\ \\n{=a\\:b ~c\\{ ~d ~e}\n\n::Name only::{=a ~b ~c ~d}\n");
    return files;
}

QByteArray mutate(QByteArray bytes)
{
    static const QList<QByteArray> marks = {
        "{", "}", "\n\n", "\r\n", "ANSWER: ", "ANSWER: B\n", "A. ", "E) ", "::", "$CATEGORY: ", "//", "~%50%",
        "=%100%", "####", "#", "\\", "\\n", "[html]", "[markdown]", "<p>", "</b>", "&#x1F600;", "&#99999999;",
        "&amp;", "\xEF\xBB\xBF", QByteArray("\0", 1), "\xC3", "\xE2\x98\x85", "\xF0\x9F\x8C\x8D", "\x80", "\t",
        "\r", "->", "TRUE", "{}", "_____", "\"", "&",
    };
    const int steps = 1 + pick(4);
    for (int s = 0; s < steps; ++s) {
        const int size = int(bytes.size());
        switch (pick(10)) {
        case 0: // flip a bit
            if (size > 0) {
                const int at = pick(size);
                bytes[at] = char(bytes[at] ^ (1 << pick(8)));
            }
            break;
        case 1: // a random byte
            if (size > 0)
                bytes[pick(size)] = char(pick(256));
            break;
        case 2: // one of the formats' marks
        case 3:
            bytes.insert(pick(size + 1), marks.at(pick(int(marks.size()))));
            break;
        case 4: // cut out a stretch
            if (size > 0) {
                const int at = pick(size);
                bytes.remove(at, 1 + pick(std::min(40, size - at)));
            }
            break;
        case 5: // end early
            bytes.truncate(pick(size + 1));
            break;
        case 6: // duplicate, drop or swap lines
        case 7: {
            QList<QByteArray> lines = bytes.split('\n');
            const int n = int(lines.size());
            const int a = pick(n), b = pick(n);
            switch (pick(3)) {
            case 0:
                lines.insert(a, lines.at(b));
                break;
            case 1:
                lines.removeAt(a);
                break;
            default:
                lines.swapItemsAt(a, b);
                break;
            }
            bytes = lines.join('\n');
            break;
        }
        case 8: // other line ends
            if (pick(2))
                bytes.replace("\r\n", "\n");
            else
                bytes.replace("\n", "\r\n");
            break;
        default: // a byte order mark, or UTF-16
            if (pick(3) == 0) {
                const QString text = QString::fromUtf8(bytes);
                QByteArray utf16("\xFF\xFE");
                for (const QChar c : text)
                    utf16.append(char(c.unicode() & 0xff)).append(char(c.unicode() >> 8));
                bytes = utf16;
            } else {
                bytes.prepend("\xEF\xBB\xBF");
            }
            break;
        }
    }
    return bytes;
}

// Empty when the result is sound, else what is wrong with it.
QString fault(const ExchangeImport &r)
{
    for (const QString &note : r.notes) {
        if (note.trimmed().isEmpty())
            return u"an empty note"_s;
    }
    if (!r.ok) {
        if (r.error.isEmpty())
            return u"refused without a message"_s;
        if (r.count != 0 || !(r.set == QuestionSet{}))
            return u"refused but holds questions"_s;
        return {};
    }
    if (!r.error.isEmpty())
        return u"taken with an error message"_s;
    if (r.count < 1 || r.count > 10)
        return u"taken with %1 questions"_s.arg(r.count);
    if (r.set.title.size() > kWizardTitleLength)
        return u"title too long"_s;
    if (!r.set.title.isEmpty() && !titleProblem(r.set.title).isEmpty())
        return u"title refused: "_s + titleProblem(r.set.title);
    for (int n = 1; n <= 10; ++n) {
        const std::array<QString, 5> texts = {r.set.quest[n], r.set.answera[n], r.set.answerb[n], r.set.answerc[n],
                                              r.set.answerd[n]};
        if (n > r.count) {
            for (const QString &t : texts) {
                if (!t.isEmpty())
                    return u"text in question %1 after the last one taken"_s.arg(n);
            }
            if (!r.set.correct[n].isEmpty())
                return u"a correct choice in question %1 after the last one taken"_s.arg(n);
            continue;
        }
        for (int k = 0; k < 5; ++k) {
            const QString &t = texts[k];
            if (t.isEmpty())
                return u"question %1: empty text %2"_s.arg(n).arg(k);
            if (t.size() > (k == 0 ? kWizardQuestionLength : kWizardChoiceLength))
                return u"question %1: text %2 too long"_s.arg(n).arg(k);
            if (const QString problem = textProblem(t, n, k - 1); !problem.isEmpty())
                return problem;
        }
        if (correctChoice(r.set.correct[n]) == 0 || r.set.correct[n].size() != 1)
            return u"question %1: correct choice %2"_s.arg(n).arg(r.set.correct[n]);
    }
    if (r.count == 10 && !r.set.title.isEmpty()) {
        WorksheetEntries entries;
        entries.title = r.set.title;
        for (int q = 0; q < 10; ++q) {
            const int n = q + 1;
            entries.questions[q] = r.set.quest[n];
            entries.choices[4 * q] = r.set.answera[n];
            entries.choices[4 * q + 1] = r.set.answerb[n];
            entries.choices[4 * q + 2] = r.set.answerc[n];
            entries.choices[4 * q + 3] = r.set.answerd[n];
            entries.ticks[4 * q + correctChoice(r.set.correct[n]) - 1] = true;
        }
        if (const QString message = validationMessage(entries); !message.isEmpty())
            return u"the wizard refuses it: "_s + message;
    }
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    const unsigned seed = argc > 2 ? unsigned(std::strtoul(argv[2], nullptr, 10)) : 20240611u;
    rng.seed(seed);
    QElapsedTimer timer;
    timer.start();
    const QList<QByteArray> originals = seeds();
    int taken = 0, refused = 0, questions = 0;
    for (int i = 0; i < files; ++i) {
        const QByteArray bytes = mutate(originals.at(pick(int(originals.size()))));
        const std::array<ExchangeImport, 2> results = {readAiken(bytes, u"Fuzz"_s), readGift(bytes, u"Fuzz"_s)};
        for (int r = 0; r < 2; ++r) {
            if (const QString problem = fault(results[r]); !problem.isEmpty()) {
                std::fprintf(stderr, "exchange_fuzz: file %d (seed %u), %s reader: %s\n", i, seed,
                             r == 0 ? "Aiken" : "GIFT", qPrintable(problem));
                std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
                return 1;
            }
            if (results[r].ok) {
                ++taken;
                questions += results[r].count;
            } else {
                ++refused;
            }
        }
    }
    std::printf("exchange_fuzz: %d mutated files through both readers in %lld ms: %d read (%d questions), "
                "%d refused with a message\n",
                files, static_cast<long long>(timer.elapsed()), taken, questions, refused);
    return 0;
}
