// Aiken and GIFT: the writers' output, the readers on hand-written and damaged files, and
// worksheets written and read back.
#include "rules/exchange.h"
#include "testsupport.h"
#include "rules/authoring.h"

#include "platform/filechannel.h"

#include <QDir>
#include <QTest>

#include <random>

using namespace terravale;
using namespace Qt::StringLiterals;

namespace {

// "question|A|B|C|D|digit", one per taken question.
QString row(const QString &q, const QString &a, const QString &b, const QString &c, const QString &d, int right)
{
    return QStringList{q, a, b, c, d, QString::number(right)}.join(u'|');
}

QStringList rows(const ExchangeImport &result)
{
    QStringList out;
    for (int n = 1; n <= 10; ++n) {
        if (!result.set.quest[n].isEmpty() || !result.set.correct[n].isEmpty()) {
            out << QStringList{result.set.quest[n], result.set.answera[n], result.set.answerb[n],
                               result.set.answerc[n], result.set.answerd[n], result.set.correct[n]}
                       .join(u'|');
        }
    }
    return out;
}

void setQuestion(QuestionSet &set, int n, const QString &row)
{
    const QStringList f = row.split(u'|');
    set.quest[n] = f[0];
    set.answera[n] = f[1];
    set.answerb[n] = f[2];
    set.answerc[n] = f[3];
    set.answerd[n] = f[4];
    set.correct[n] = f[5];
}

QString only(int taken)
{
    return u"Only %1 could be taken; questions %2 to 10 of the worksheet are empty."_s.arg(
        taken == 1 ? u"1 question"_s : u"%1 questions"_s.arg(taken)).arg(taken + 1);
}

const QString kNoneTaken = u"No question in this file is one the wizard can take: a multiple-choice question with "
                           "four answers, one of them correct."_s;

// Random texts the wizard accepts, built to provoke both formats: their special characters,
// line starts that mean something, format marks and weights.
class WorksheetMaker {
public:
    explicit WorksheetMaker(unsigned seed) : m_random(seed) {}

    QuestionSet make()
    {
        QuestionSet set;
        set.title = text(kWizardTitleLength, true);
        for (int n = 1; n <= 10; ++n) {
            set.quest[n] = text(kWizardQuestionLength, false);
            set.answera[n] = text(kWizardChoiceLength, false);
            set.answerb[n] = text(kWizardChoiceLength, false);
            set.answerc[n] = text(kWizardChoiceLength, false);
            set.answerd[n] = text(kWizardChoiceLength, false);
            set.correct[n] = QString::number(pick(4) + 1);
        }
        return set;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    QString text(int limit, bool title)
    {
        static const QStringList starts = {
            u"[html]"_s, u"[moodle]"_s, u"[plain] "_s, u"[markdown]"_s, u"%50%"_s, u"%-100% "_s, u"A. "_s,
            u"B) "_s, u"ANSWER: B"_s, u"// "_s, u"::"_s, u"$CATEGORY: "_s, u"->"_s, u"TRUE"_s, u"####"_s,
            u"#"_s, u"="_s, u"~"_s, u"{"_s, u"}"_s, u"\\"_s, u"_____"_s, u"'"_s, u"T"_s,
        };
        static const QString alphabet =
            u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789      ,.;:!?'\"-+*/()[]{}<>~=#\\%$_|"
            "\u00e9\u00fc\u00df\u20ac\u201c\u201d\u2013\u00a3\u00a0\u00bd"_s;
        for (;;) {
            QString t;
            if (pick(3) == 0)
                t = starts.at(pick(int(starts.size())));
            const int length = 1 + pick(limit);
            while (t.size() < length)
                t += alphabet.at(pick(int(alphabet.size())));
            // Both formats drop blanks at either end of a text, as the platforms do.
            while (!t.isEmpty() && t.back() == u' ')
                t.chop(1);
            while (!t.isEmpty() && t.front() == u' ')
                t.remove(0, 1);
            t = t.left(limit);
            while (!t.isEmpty() && t.back() == u' ')
                t.chop(1);
            const bool accepted = title ? titleProblem(t).isEmpty() : textProblem(t, 1).isEmpty();
            if (!t.isEmpty() && accepted)
                return t;
        }
    }

    std::mt19937 m_random;
};

QuestionSet sampleSet()
{
    QuestionSet set;
    set.title = u"Rivers {and} seas"_s;
    setQuestion(set, 1, u"Which bin takes glass, cans and paper?|Green|Blue: recycling|Black {general}|Brown #4|2"_s);
    setQuestion(set, 2, u"Is 2 = 3 ~ 4?|Yes|[html] tag|C:\\temp|%50% off|3"_s);
    return set;
}

} // namespace

class ExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void aikenWriter();
    void giftWriter();
    void giftEscape_data();
    void giftEscape();
    void writersLeaveOutIncompleteQuestions_data();
    void writersLeaveOutIncompleteQuestions();
    void aikenReader_data();
    void aikenReader();
    void giftReader_data();
    void giftReader();
    void damagedFiles_data();
    void damagedFiles();
    void textsMadeToFit_data();
    void textsMadeToFit();
    void titles_data();
    void titles();
    void encodings_data();
    void encodings();
    void roundTrip_data();
    void roundTrip();
    void topicSetsRoundTrip_data();
    void topicSetsRoundTrip();
    void severalWorksheets();
};

void ExchangeTest::aikenWriter()
{
    const QString expected = u"Which bin takes glass, cans and paper?\r\n"
                             "A. Green\r\n"
                             "B. Blue: recycling\r\n"
                             "C. Black {general}\r\n"
                             "D. Brown #4\r\n"
                             "ANSWER: B\r\n"
                             "\r\n"
                             "Is 2 = 3 ~ 4?\r\n"
                             "A. Yes\r\n"
                             "B. [html] tag\r\n"
                             "C. C:\\temp\r\n"
                             "D. %50% off\r\n"
                             "ANSWER: C\r\n"
                             "\r\n"_s;
    QCOMPARE(aikenText(sampleSet()), expected);
}

void ExchangeTest::giftWriter()
{
    const QString expected = u"$CATEGORY: Rivers {and} seas\r\n"
                             "\r\n"
                             "::Rivers \\{and\\} seas 1::Which bin takes glass, cans and paper?{\r\n"
                             "\t~Green\r\n"
                             "\t=Blue\\: recycling\r\n"
                             "\t~Black \\{general\\}\r\n"
                             "\t~Brown \\#4\r\n"
                             "}\r\n"
                             "\r\n"
                             "::Rivers \\{and\\} seas 2::Is 2 \\= 3 \\~ 4?{\r\n"
                             "\t~Yes\r\n"
                             "\t~[moodle][html] tag\r\n"
                             "\t=C\\:\\\\temp\r\n"
                             "\t~[moodle]%50% off\r\n"
                             "}\r\n"
                             "\r\n"_s;
    QCOMPARE(giftText(sampleSet()), expected);

    QuestionSet untitled = sampleSet();
    untitled.title.clear();
    const QString text = giftText(untitled);
    QVERIFY(!text.contains(u"$CATEGORY"_s));
    QVERIFY(text.startsWith(u"::Question 1::Which bin"_s));
    QVERIFY(text.contains(u"\r\n::Question 2::Is 2"_s));
}

void ExchangeTest::giftEscape_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("plain") << u"Paper, card & glass"_s << u"Paper, card & glass"_s;
    QTest::newRow("each special") << u"~=#{}:"_s << u"\\~\\=\\#\\{\\}\\:"_s;
    QTest::newRow("backslash first") << u"a\\b\\~"_s << u"a\\\\b\\\\\\~"_s;
    QTest::newRow("arrows and weights untouched") << u"%50% -> [html]"_s << u"%50% -> [html]"_s;
}

void ExchangeTest::giftEscape()
{
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QCOMPARE(terravale::giftEscape(text), escaped);
}

void ExchangeTest::writersLeaveOutIncompleteQuestions_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("field");   // 0 question, 1..4 choices, 5 correct digit
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("problem");
    QTest::newRow("no question text") << 2 << 0 << QString() << u"Question 2 has no text."_s;
    QTest::newRow("blank question text") << 2 << 0 << u" \t "_s << u"Question 2 has no text."_s;
    QTest::newRow("no choice C") << 1 << 3 << QString() << u"Question 1 has no text for choice C."_s;
    QTest::newRow("correct digit 5") << 2 << 5 << u"5"_s << u"Question 2 has no correct choice."_s;
    QTest::newRow("no correct digit") << 1 << 5 << QString() << u"Question 1 has no correct choice."_s;
}

void ExchangeTest::writersLeaveOutIncompleteQuestions()
{
    QFETCH(int, question);
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, problem);
    QuestionSet set = sampleSet();
    for (int n = 3; n <= 10; ++n)
        setQuestion(set, n, u"Q%1|a|b|c|d|1"_s.arg(n));
    QCOMPARE(exportProblem(set), QString());
    std::array<std::array<QString, 11> *, 6> fields = {&set.quest,   &set.answera, &set.answerb,
                                                       &set.answerc, &set.answerd, &set.correct};
    (*fields[field])[question] = value;
    QCOMPARE(exportProblem(set), problem);

    const QString keptQuestion = question == 1 ? u"Is 2 = 3 ~ 4?"_s : u"Which bin takes glass, cans and paper?"_s;
    const ExchangeImport aiken = readAiken(aikenText(set), set.title);
    QVERIFY2(aiken.ok, qPrintable(aiken.error));
    QCOMPARE(aiken.count, 9);
    QCOMPARE(aiken.set.quest[1], keptQuestion);
    const ExchangeImport gift = readGift(giftText(set), QString());
    QVERIFY2(gift.ok, qPrintable(gift.error));
    QCOMPARE(gift.count, 9);
    QCOMPARE(gift.set.quest[1], keptQuestion);
}

void ExchangeTest::aikenReader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QStringList>("notes");

    const QString ocean = row(u"What is the largest ocean?"_s, u"Atlantic"_s, u"Pacific"_s, u"Indian"_s,
                              u"Arctic"_s, 2);
    const QString gas = row(u"Which gas do plants take in?"_s, u"Oxygen"_s, u"Carbon dioxide"_s, u"Helium"_s,
                            u"Neon"_s, 2);
    const QString oceanText = u"What is the largest ocean?\nA. Atlantic\nB. Pacific\nC. Indian\nD. Arctic\n"
                              "ANSWER: B\n"_s;
    const QString gasText = u"Which gas do plants take in?\nA) Oxygen\nB) Carbon dioxide\nC) Helium\nD) Neon\n"
                            "ANSWER: B\n"_s;

    QTest::newRow("LF, blank line between")
        << oceanText + u"\n"_s + gasText << QStringList{ocean, gas} << QStringList{only(2)};
    QString crlf = u"\r\n\r\n"_s + oceanText + u"\n\n"_s + gasText + u"\n\n\n"_s;
    crlf.replace(u"\n"_s, u"\r\n"_s);
    QTest::newRow("CR LF, blank lines around") << crlf << QStringList{ocean, gas} << QStringList{only(2)};
    QTest::newRow("no blank line between, indented")
        << oceanText + u"   "_s + QString(gasText).replace(u"\n"_s, u"\n\t"_s) << QStringList{ocean, gas}
        << QStringList{only(2)};
    QTest::newRow("byte order mark") << u"\uFEFF"_s + oceanText << QStringList{ocean} << QStringList{only(1)};
    QTest::newRow("lower-case answer letter, blanks around it")
        << QString(oceanText).replace(u"ANSWER: B"_s, u"ANSWER:  b "_s) << QStringList{ocean}
        << QStringList{only(1)};
    QTest::newRow("question on two lines, blank line before the choices")
        << u"What is the largest\nocean?\n\nA. Atlantic\nB. Pacific\nC. Indian\nD. Arctic\nANSWER: B"_s
        << QStringList{ocean} << QStringList{only(1)};
    QTest::newRow("choices labelled out of order")
        << u"What is the largest ocean?\nB. Atlantic\nA. Pacific\nC. Indian\nD. Arctic\nANSWER: A\n"_s
        << QStringList{ocean}
        << QStringList{u"Question 1 (line 1): its choices were labelled B, A, C and D; they keep their order and "
                       "are shown as A to D."_s,
                       only(1)};
    QTest::newRow("a line that looks like a choice opens a question")
        << u"A. is the first letter?\nA. Yes\nB. No\nC. Maybe\nD. Never\nANSWER: A\n"_s
        << QStringList{row(u"A. is the first letter?"_s, u"Yes"_s, u"No"_s, u"Maybe"_s, u"Never"_s, 1)}
        << QStringList{only(1)};

    const QString fiveChoices = u"Odd one out?\nA. 1\nB. 2\nC. 3\nD. 4\nE. 5\nANSWER: E\n\n"_s;
    QTest::newRow("fifth choice")
        << fiveChoices + oceanText << QStringList{ocean}
        << QStringList{u"Line 1 (\"Odd one out?\"): it has 5 choices; a worksheet question has exactly four. "
                       "It was left out."_s,
                       only(1)};
    QTest::newRow("three choices, no choices")
        << u"Yes or no?\nA. Yes\nB. No\nC. Both\nANSWER: A\n\nNothing to choose\nANSWER: A\n\n"_s + oceanText
        << QStringList{ocean}
        << QStringList{u"Line 1 (\"Yes or no?\"): it has 3 choices; a worksheet question has exactly four. "
                       "It was left out."_s,
                       u"Line 7 (\"Nothing to choose\"): it has no choices. It was left out."_s, only(1)};
    QTest::newRow("answer naming two, none, a missing letter")
        << u"Two?\nA. a\nB. b\nC. c\nD. d\nANSWER: A, C\n\nNone?\nA. a\nB. b\nC. c\nD. d\nANSWER:\n\n"
           "Missing?\nA. a\nB. b\nC. c\nD. d\nANSWER: E\n\n"_s + oceanText
        << QStringList{ocean}
        << QStringList{u"Line 1 (\"Two?\"): its ANSWER line names 2 correct choices (A, C); a worksheet question "
                       "has exactly one. It was left out."_s,
                       u"Line 8 (\"None?\"): its ANSWER line names no choice. It was left out."_s,
                       u"Line 15 (\"Missing?\"): its ANSWER names E, but it has no choice E. It was left out."_s,
                       only(1)};
    QTest::newRow("an empty choice")
        << u"Empty?\nA. a\nB.\nC. c\nD. d\nANSWER: A\n\n"_s + oceanText << QStringList{ocean}
        << QStringList{u"Line 1 (\"Empty?\"): its choice B is empty. It was left out."_s, only(1)};

    QString twelve;
    QStringList ten;
    for (int n = 1; n <= 12; ++n) {
        twelve += u"Question number %1?\nA. a%1\nB. b%1\nC. c%1\nD. d%1\nANSWER: C\n\n"_s.arg(n);
        if (n <= 10)
            ten << row(u"Question number %1?"_s.arg(n), u"a%1"_s.arg(n), u"b%1"_s.arg(n), u"c%1"_s.arg(n),
                       u"d%1"_s.arg(n), 3);
    }
    QTest::newRow("twelve questions")
        << twelve << ten
        << QStringList{u"A worksheet has ten questions, so the 2 further questions from line 71 on were left out."_s};
}

void ExchangeTest::aikenReader()
{
    QFETCH(QString, text);
    QFETCH(QStringList, questions);
    QFETCH(QStringList, notes);
    const ExchangeImport result = readAiken(text, u"Oceans"_s);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.error, QString());
    QCOMPARE(result.set.title, u"Oceans"_s);
    QCOMPARE(rows(result), questions);
    QCOMPARE(result.count, questions.size());
    QCOMPARE(result.notes, notes);
}

void ExchangeTest::giftReader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QStringList>("notes");

    const QString tomb = row(u"Who's buried in Grant's tomb?"_s, u"Grant"_s, u"Jefferson"_s, u"no one"_s,
                             u"Lincoln"_s, 3);
    const QString tombText = u"Who's buried in Grant's tomb?{~Grant ~Jefferson =no one ~Lincoln}\n"_s;

    QTest::newRow("one line, file name as title") << tombText << u"Tombs"_s << QStringList{tomb}
                                                  << QStringList{only(1)};
    QTest::newRow("category, names, answers on lines, comments")
        << u"// exported for the class\n$CATEGORY: $course$/top/Rivers\n\n"
           "// question: 12  name: Longest\n::Longest::What is the longest river?{\n"
           "\t~Thames\n\t=Nile\n// not an answer\n\t~Severn\n\t~Rhine\n}\n\n"_s
        << u"Rivers"_s
        << QStringList{row(u"What is the longest river?"_s, u"Thames"_s, u"Nile"_s, u"Severn"_s, u"Rhine"_s, 2)}
        << QStringList{only(1)};
    QTest::newRow("answers on several lines with a blank line inside")
        << u"Pick the metal\n{\n=Iron\n\n~Wood\n~Glass\n~Paper\n}"_s << u"Tombs"_s
        << QStringList{row(u"Pick the metal"_s, u"Iron"_s, u"Wood"_s, u"Glass"_s, u"Paper"_s, 1)}
        << QStringList{only(1)};
    QTest::newRow("escapes")
        << u"Is 2 \\= 2 \\{really\\}\\: \\#1 \\~ yes?{=Yes\\: sure ~C\\:\\\\dir ~a \\\\ b ~x\\ny}"_s << u"Tombs"_s
        << QStringList{row(u"Is 2 = 2 {really}: #1 ~ yes?"_s, u"Yes: sure"_s, u"C:\\dir"_s, u"a \\ b"_s,
                           u"x y"_s, 1)}
        << QStringList{only(1)};
    QTest::newRow("feedback and general feedback")
        << u"Where is the sun?{=Sky#Right! ~Sea#No ~Soil ~Sand####The sun is in the sky.}"_s << u"Tombs"_s
        << QStringList{row(u"Where is the sun?"_s, u"Sky"_s, u"Sea"_s, u"Soil"_s, u"Sand"_s, 1)}
        << QStringList{u"Question 1 (line 1): its general feedback was left out; worksheets have none."_s,
                       u"Question 1 (line 1): the feedback on its answers was left out; worksheets have none."_s,
                       only(1)};
    QTest::newRow("weights: full and penalty taken, part marks not")
        << u"Full?{~%100%Yes ~No ~%-50%Never ~%0%Maybe}\n\nPart?{=Yes ~%50%Half ~No ~Never}\n\n"
           "Several?{~%50%Iron ~%50%Copper ~%-100%Wood ~%-100%Glass}\n"_s << u"Tombs"_s
        << QStringList{row(u"Full?"_s, u"Yes"_s, u"No"_s, u"Never"_s, u"Maybe"_s, 1)}
        << QStringList{u"Question 1 (line 1): the penalty for choosing a wrong answer (%-50%) was left out; "
                       "worksheets have none."_s,
                       u"Line 3 (\"Part?\"): answer 2 (\"Half\", %50%) gives part marks, which a worksheet "
                       "cannot. It was left out."_s,
                       u"Line 5 (\"Several?\"): answers 1 (\"Iron\", %50%) and 2 (\"Copper\", %50%) give part "
                       "marks, which a worksheet cannot. It was left out."_s,
                       only(1)};
    QTest::newRow("missing word")
        << u"Grant is {~buried =entombed ~living ~dead} in Grant's tomb."_s << u"Tombs"_s
        << QStringList{row(u"Grant is _____ in Grant's tomb."_s, u"buried"_s, u"entombed"_s, u"living"_s,
                           u"dead"_s, 2)}
        << QStringList{u"Question 1 (line 1): it is a missing-word question; the gap is shown as _____."_s,
                       only(1)};
    QTest::newRow("title as question, HTML")
        << u"::Capital of France::{=Paris ~Rome ~Oslo ~Bern}\n\n"
           "::H2O::[html]<p>What is <b>H<sub>2</sub>O</b> &amp; why?</p>{=<i>Water</i> ~Air ~Fire ~Earth &lt;3}"_s
        << u"Tombs"_s
        << QStringList{row(u"Capital of France"_s, u"Paris"_s, u"Rome"_s, u"Oslo"_s, u"Bern"_s, 1),
                       row(u"What is H2O and why?"_s, u"Water"_s, u"Air"_s, u"Fire"_s, u"Earth <3"_s, 1)}
        << QStringList{u"Question 1 (line 1): it had no question text, so its title \"Capital of France\" became "
                       "the question."_s,
                       u"Question 2 (line 3): the question was written in HTML; its formatting was removed."_s,
                       u"Question 2 (line 3): an answer was written in HTML; its formatting was removed."_s,
                       u"Question 2 (line 3): the question held characters a worksheet cannot store: \"&\" became "
                       "\"and\"."_s,
                       only(2)};
    QTest::newRow("every other question type")
        << u"Grant is buried in Grant's tomb.{FALSE}\n\n"
           "Write about rubbish.{}\n\n"
           "When was Grant born?{#1822:5}\n\n"
           "Match these.{=Canada -> Ottawa =Italy -> Rome}\n\n"
           "Who's buried in Grant's tomb?{=no one =nobody}\n\n"
           "Just some words.\n\n"
           "Two gaps {=a ~b ~c ~d} and {=e ~f ~g ~h}.\n\n"_s
               + tombText
        << u"Tombs"_s << QStringList{tomb}
        << QStringList{
               u"Line 1 (\"Grant is buried in Grant's tomb.\"): a true-false question was left out: the wizard takes "
               "only multiple-choice questions with four answers."_s,
               u"Line 3 (\"Write about rubbish.\"): an essay question was left out: the wizard takes only "
               "multiple-choice questions with four answers."_s,
               u"Line 5 (\"When was Grant born?\"): a numerical question was left out: the wizard takes only "
               "multiple-choice questions with four answers."_s,
               u"Line 7 (\"Match these.\"): a matching question was left out: the wizard takes only "
               "multiple-choice questions with four answers."_s,
               u"Line 9 (\"Who's buried in Grant's tomb?\"): a short-answer question was left out: the wizard takes "
               "only multiple-choice questions with four answers."_s,
               u"Line 11 (\"Just some words.\"): a text without answers (a description) was left out."_s,
               u"Line 13 (\"Two gaps\"): it has more than one set of answers in braces; if these are two questions, "
               "a blank line must separate them. It was left out."_s,
               only(1)};
    QTest::newRow("wrong counts of answers and correct ones")
        << u"Five?{=1 ~2 ~3 ~4 ~5}\n\nThree?{=1 ~2 ~3}\n\nNone right?{~1 ~2 ~3 ~4}\n\n"
           "Two right?{=1 =2 ~3 ~4}\n\nStray text?{ first =1 ~2 ~3 ~4 ~5}\n\n"_s
               + tombText
        << u"Tombs"_s << QStringList{tomb}
        << QStringList{
               u"Line 1 (\"Five?\"): it has 5 answers; a worksheet question has exactly four. It was left out."_s,
               u"Line 3 (\"Three?\"): it has 3 answers; a worksheet question has exactly four. It was left out."_s,
               u"Line 5 (\"None right?\"): none of its answers is marked correct. It was left out."_s,
               u"Line 7 (\"Two right?\"): 2 of its answers are marked correct; a worksheet question has exactly "
               "one. It was left out."_s,
               u"Line 9 (\"Stray text?\"): it has 5 answers; a worksheet question has exactly four. "
               "It was left out."_s,
               only(1)};
    QTest::newRow("text before the first answer mark")
        << u"Stray?{ first =1 ~2 ~3 ~4}"_s << u"Tombs"_s
        << QStringList{row(u"Stray?"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, 1)}
        << QStringList{u"Question 1 (line 1): the text \"first\" inside its braces has no \"=\" or \"~\" before it "
                       "and was left out."_s,
                       only(1)};
    QTest::newRow("second category")
        << u"$CATEGORY: Trees\n\n"_s + tombText + u"\n$CATEGORY: Birds\n\n"_s + tombText << u"Trees"_s
        << QStringList{tomb, tomb}
        << QStringList{u"Line 5: the category \"Birds\" begins; its questions were read into the same worksheet, "
                       "which takes its title from the first category."_s,
                       only(2)};
    QTest::newRow("category naming no worksheet")
        << u"$CATEGORY: $course$/top\n\n"_s + tombText << u"Tombs"_s << QStringList{tomb}
        << QStringList{u"Line 1: the category \"$course$/top\" names no worksheet; the title comes from the file "
                       "name."_s,
                       only(1)};
    QTest::newRow("unclosed question title")
        << u"::Half a title {=a ~b ~c ~d}"_s << u"Tombs"_s
        << QStringList{row(u"Half a title"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s, 1)}
        << QStringList{u"Line 1: the question title begun with \"::\" has no closing \"::\"; the text after it was "
                       "read as the question."_s,
                       only(1)};
}

void ExchangeTest::giftReader()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(QStringList, questions);
    QFETCH(QStringList, notes);
    const ExchangeImport result = readGift(text, u"Tombs"_s);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.set.title, title);
    QCOMPARE(rows(result), questions);
    QCOMPARE(result.count, questions.size());
    QCOMPARE(result.notes, notes);
}

void ExchangeTest::damagedFiles_data()
{
    QTest::addColumn<bool>("gift");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("notes");

    const QByteArray ocean = "What is the largest ocean?\nA. Atlantic\nB. Pacific\nC. Indian\nD. Arctic\n";
    QTest::newRow("Aiken: empty") << false << QByteArray() << u"The file is empty."_s << QStringList();
    QTest::newRow("Aiken: blank lines only") << false << QByteArray("\r\n \r\n\t\n") << u"The file is empty."_s
                                             << QStringList();
    QTest::newRow("Aiken: a picture") << false << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                      << u"This is not a text file."_s << QStringList();
    QTest::newRow("Aiken: a letter") << false << QByteArray("Dear parents,\nthe trip is on Monday.\n")
                                     << u"This is not an Aiken file: no line begins with \"ANSWER:\"."_s
                                     << QStringList();
    QTest::newRow("Aiken: GIFT") << false << QByteArray("Who?{=a ~b ~c ~d}\n")
                                 << u"This is not an Aiken file: no line begins with \"ANSWER:\"."_s << QStringList();
    QTest::newRow("Aiken: no ANSWER line, next question follows")
        << false << ocean + "\nWhich gas?\nA. O\nB. N\nC. H\nD. C\nANSWER: A\n"
        << u"The question on line 1 (\"What is the largest ocean?\") has no ANSWER line: line 7 (\"Which gas?\") is "
           "neither a choice (\"A. text\") nor \"ANSWER: B\"."_s
        << QStringList();
    QTest::newRow("Aiken: no ANSWER line at the end")
        << false << "Which gas?\nA. O\nB. N\nC. H\nD. C\nANSWER: A\n\n" + ocean
        << u"The question on line 8 (\"What is the largest ocean?\") has no ANSWER line; the file ends after its "
           "choices."_s
        << QStringList();
    QTest::newRow("Aiken: text without choices between questions")
        << false << "Which gas?\nA. O\nB. N\nC. H\nD. C\nANSWER: A\n\nA stray line\n\n" + ocean + "ANSWER: B\n"
        << u"The question on line 8 (\"A stray line\") has no choices (\"A. text\") and no ANSWER line."_s
        << QStringList();
    QTest::newRow("Aiken: nothing the wizard takes")
        << false << QByteArray("Yes?\nA. Yes\nB. No\nANSWER: A\n") << kNoneTaken
        << QStringList{u"Line 1 (\"Yes?\"): it has 2 choices; a worksheet question has exactly four. "
                       "It was left out."_s};

    QTest::newRow("GIFT: empty") << true << QByteArray() << u"The file is empty."_s << QStringList();
    QTest::newRow("GIFT: byte order mark only") << true << QByteArray("\xEF\xBB\xBF") << u"The file is empty."_s
                                                << QStringList();
    QTest::newRow("GIFT: an Aiken file") << true << ocean + "ANSWER: B\n"
                                         << u"This is not a GIFT file: no question has its answers in braces { }."_s
                                         << QStringList();
    QTest::newRow("GIFT: brace never closed")
        << true << QByteArray("Q1 {=a ~b ~c ~d}\n\nQ2 {\n=a\n~b\n\n~c\n~d\n")
        << u"The brace { on line 3 that opens a question's answers is never closed."_s << QStringList();
    QTest::newRow("GIFT: brace opened inside answers")
        << true << QByteArray("Q1 {=a ~b ~c ~d\n\nQ2 {=a ~b ~c ~d}\n")
        << u"Line 3 opens a brace { while the answers begun on line 1 are still open (a brace inside a text is "
           "written \\{)."_s
        << QStringList();
    QTest::newRow("GIFT: closing brace alone")
        << true << QByteArray("Q1 {=a ~b ~c ~d}\n\nQ2 =a ~b} ~c\n")
        << u"Line 3 has a closing brace } without an opening one (a brace inside a text is written \\})."_s
        << QStringList();
    QTest::newRow("GIFT: only essays")
        << true << QByteArray("Write.{}\n") << kNoneTaken
        << QStringList{u"Line 1 (\"Write.\"): an essay question was left out: the wizard takes only "
                       "multiple-choice questions with four answers."_s};
}

void ExchangeTest::damagedFiles()
{
    QFETCH(bool, gift);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QFETCH(QStringList, notes);
    const ExchangeImport result = gift ? readGift(bytes, u"Name"_s) : readAiken(bytes, u"Name"_s);
    QVERIFY(!result.ok);
    QCOMPARE(result.error, error);
    QCOMPARE(result.count, 0);
    QVERIFY(result.set == QuestionSet{});
    // The title's own notes come before the questions'; a file with nothing to take still says why.
    QCOMPARE(result.notes, notes);
}

void ExchangeTest::textsMadeToFit_data()
{
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("takenQuestion");
    QTest::addColumn<QString>("takenChoice");
    QTest::addColumn<QStringList>("notes");

    const QString p = u"Question 1 (line 1): "_s;
    const QString seventy = u"Which of these things can be put in the green recycling bin at school?"_s;
    QTest::newRow("question too long")
        << seventy << u"Glass"_s << seventy.left(60).trimmed() << u"Glass"_s
        << QStringList{p + u"the question had 70 characters; the wizard's box takes 60, so it was shortened to "
                           "\"Which of these things can be put in the green recycling bin\"."_s};
    QTest::newRow("choice too long")
        << u"Which?"_s << u"A plastic bottle with its lid screwed on"_s << u"Which?"_s
        << u"A plastic bottle with its lid"_s
        << QStringList{p + u"choice A had 40 characters; the wizard's box takes 30, so it was shortened to \"A "
                           "plastic bottle with its lid\"."_s};
    QTest::newRow("exactly the limits")
        << QString(60, u'q') << QString(30, u'c') << QString(60, u'q') << QString(30, u'c') << QStringList();
    QTest::newRow("characters outside Windows-1252")
        << u"Is \u2212" "5 \u2264 3 \u2192 x\u2605?"_s << u"\U0001F30D Earth \uFB01ne"_s
        << u"Is -5 <= 3 -> x?"_s << u"Earth fine"_s
        << QStringList{p + u"the question held characters a worksheet cannot store: \"\u2212\" (U+2212) became "
                           "\"-\", \"\u2264\" (U+2264) became \"<=\", \"\u2192\" (U+2192) became \"->\" and "
                           "\"\u2605\" (U+2605) was left out."_s,
                       p + u"choice A held characters a worksheet cannot store: \"\U0001F30D\" (U+1F30D) was left "
                           "out and \"\uFB01\" (U+FB01) became \"fi\"."_s};
    QTest::newRow("Windows-1252 characters kept")
        << u"Caf\u00e9 \u20ac5 \u201cquoted\u201d \u2013 na\u00efve?"_s << u"\u00bd \u00a3 \u00a0x"_s
        << u"Caf\u00e9 \u20ac5 \u201cquoted\u201d \u2013 na\u00efve?"_s << u"\u00bd \u00a3 \u00a0x"_s
        << QStringList();
    QTest::newRow("ampersand written out")
        << u"Fish & chips, R&D?"_s << u"A &"_s << u"Fish and chips, R and D?"_s << u"A and"_s
        << QStringList{p + u"the question held characters a worksheet cannot store: \"&\" became \"and\"."_s,
                       p + u"choice A held characters a worksheet cannot store: \"&\" became \"and\"."_s};
    QTest::newRow("leading double quote")
        << u"\"Reduce\" is a word?"_s << u"\"Yes\""_s << u"'Reduce' is a word?"_s << u"'Yes'"_s
        << QStringList{p + u"the question began with a double quote, which a worksheet text cannot; its double "
                           "quotes became single ones."_s,
                       p + u"choice A began with a double quote, which a worksheet text cannot; its double quotes "
                           "became single ones."_s};
    QTest::newRow("control characters")
        << u"Bell\u0007 here?"_s << u"Tab\there"_s << u"Bell here?"_s << u"Tab here"_s
        << QStringList{p + u"the question held characters a worksheet cannot store: the control character U+0007 "
                           "was left out."_s};
    QTest::newRow("nothing left to store")
        << u"Stars?"_s << u"\u2605\u2605"_s << QString() << QString()
        << QStringList{u"Line 1 (\"Stars?\"): choice A holds nothing a worksheet can store. It was left out."_s};
}

void ExchangeTest::textsMadeToFit()
{
    QFETCH(QString, question);
    QFETCH(QString, choice);
    QFETCH(QString, takenQuestion);
    QFETCH(QString, takenChoice);
    QFETCH(QStringList, notes);
    const QString aiken = question + u"\nA. "_s + choice + u"\nB. b\nC. c\nD. d\nANSWER: B\n"_s;
    const QString gift = terravale::giftEscape(question) + u"{~"_s + terravale::giftEscape(choice) + u" =b ~c ~d}"_s;
    const QList<ExchangeImport> results = {readAiken(aiken, u"Name"_s), readGift(gift, u"Name"_s)};
    for (const ExchangeImport &result : results) {
        QStringList expected = notes;
        if (takenQuestion.isEmpty()) {
            QVERIFY(!result.ok);
            QCOMPARE(result.error, kNoneTaken);
        } else {
            QVERIFY2(result.ok, qPrintable(result.error));
            QCOMPARE(result.set.quest[1], takenQuestion);
            QCOMPARE(result.set.answera[1], takenChoice);
            QCOMPARE(result.set.correct[1], u"2"_s);
            QVERIFY(questionSetCanHold(result.set.quest[1]));
            QVERIFY(questionSetCanHold(result.set.answera[1]));
            expected << only(1);
        }
        QCOMPARE(result.notes, expected);
    }
}

void ExchangeTest::titles_data()
{
    QTest::addColumn<QString>("source");   // the category, or the file name when it starts with "file:"
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("notes");

    QTest::newRow("category kept") << u"Rivers {and} seas #2"_s << u"Rivers {and} seas #2"_s << QStringList();
    QTest::newRow("category path") << u"$course$/top/Science/Plants"_s << u"Plants"_s << QStringList();
    QTest::newRow("file name") << u"file:Plants quiz"_s << u"Plants quiz"_s << QStringList();
    QTest::newRow("too long")
        << u"Materials and their properties"_s << u"Materials and their prope"_s
        << QStringList{u"The title \"Materials and their properties\" had 30 characters; the wizard's title box "
                       "takes 25, so it was shortened to \"Materials and their prope\"."_s};
    QTest::newRow("characters a title cannot have")
        << u"file:Water, air: soil & \"sky\"?"_s << u"Water air soil and 'sky'"_s
        << QStringList{u"The file name \"Water, air: soil & \"sky\"?\" held characters a worksheet title cannot "
                       "have: \",\" was left out, \":\" was left out, \"&\" became \"and\", double quotes became "
                       "single quotes and \"?\" was left out; the title became \"Water air soil and 'sky'\"."_s};
    QTest::newRow("two dots") << u"file:Ch..1...2"_s << u"Ch.1.2"_s
                              << QStringList{u"The file name \"Ch..1...2\" held characters a worksheet title "
                                             "cannot have: \"..\" became \".\"; the title became \"Ch.1.2\"."_s};
    QTest::newRow("a name the program keeps")
        << u"file:CON"_s << QString()
        << QStringList{titleProblem(u"CON"_s) + u". The title was left empty for you to choose."_s};
    QTest::newRow("no name") << u"file:"_s << QString()
                             << QStringList{u"The file gives no title; please choose one in the wizard."_s};
}

void ExchangeTest::titles()
{
    QFETCH(QString, source);
    QFETCH(QString, title);
    QFETCH(QStringList, notes);
    const QString question = u"Q?{=a ~b ~c ~d}\n"_s;
    const bool fromFile = source.startsWith(u"file:"_s);
    const QString text = fromFile ? question : u"$CATEGORY: "_s + source + u"\n\n"_s + question;
    const ExchangeImport result = readGift(text, fromFile ? source.mid(5) : u"Unused"_s);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.set.title, title);
    QCOMPARE(result.notes, notes + QStringList{only(1)});
    QVERIFY(result.set.title.isEmpty() || titleProblem(result.set.title).isEmpty());
}

void ExchangeTest::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QStringList>("notes");
    const QString cafe = u"Caf\u00e9 \u20ac"_s;
    const QByteArray utf8 = "Where?\nA. Caf\xc3\xa9 \xe2\x82\xac\nB. b\nC. c\nD. d\nANSWER: A\n";
    QTest::newRow("UTF-8") << utf8 << cafe << QStringList{only(1)};
    QTest::newRow("UTF-8 with byte order mark") << "\xEF\xBB\xBF" + utf8 << cafe << QStringList{only(1)};
    QString text = QString::fromUtf8(utf8);
    QByteArray utf16("\xFF\xFE");
    for (const QChar c : text)
        utf16.append(char(c.unicode() & 0xff)).append(char(c.unicode() >> 8));
    QTest::newRow("UTF-16 with byte order mark") << utf16 << cafe << QStringList{only(1)};
    QTest::newRow("Windows-1252")
        << QByteArray("Where?\r\nA. Caf\xe9 \x80\r\nB. b\r\nC. c\r\nD. d\r\nANSWER: A\r\n") << cafe
        << QStringList{u"The file is not in UTF-8; it was read as Windows-1252."_s, only(1)};
}

void ExchangeTest::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, choice);
    QFETCH(QStringList, notes);
    const ExchangeImport result = readAiken(bytes, u"Caf\u00e9"_s);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.set.quest[1], u"Where?"_s);
    QCOMPARE(result.set.answera[1], choice);
    QCOMPARE(result.notes, notes);
}

void ExchangeTest::roundTrip_data()
{
    QTest::addColumn<bool>("gift");
    QTest::newRow("Aiken") << false;
    QTest::newRow("GIFT") << true;
}

void ExchangeTest::roundTrip()
{
    QFETCH(bool, gift);
    WorksheetMaker maker(20240611);
    for (int i = 0; i < 400; ++i) {
        const QuestionSet set = maker.make();
        QCOMPARE(exportProblem(set), QString());
        const QString text = gift ? giftText(set) : aikenText(set);
        // Files are saved as UTF-8; read them back from bytes as an import would.
        const ExchangeImport back = gift ? readGift(text.toUtf8(), u"Unused"_s) : readAiken(text.toUtf8(), set.title);
        QVERIFY2(back.ok, qPrintable(back.error + u"\n"_s + text));
        QVERIFY2(back.notes.isEmpty(), qPrintable(back.notes.join(u'\n') + u"\n"_s + text));
        QCOMPARE(back.count, 10);
        QCOMPARE(rows(back), rows(ExchangeImport{true, {}, set, 10, {}}));
        QCOMPARE(back.set.title, set.title);
        QVERIFY(back.set == set);
    }
}

void ExchangeTest::topicSetsRoundTrip_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("Rubbish") << u"multiple/Rubbish.txt"_s;
    QTest::newRow("Resources") << u"multiple/Resources.txt"_s;
}

void ExchangeTest::topicSetsRoundTrip()
{
    // The program's own question sets: real texts, as a teacher would pass them on.
    QFETCH(QString, file);
    const QString oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(test::generatedData()));
    QuestionSet set;
    set = readQuestionSetFile(file);
    QDir::setCurrent(oldDir);
    QCOMPARE(exportProblem(set), QString());
    // A worksheet cannot take a topic's own name: the questions come back, the title is left to choose.
    const QStringList notes{titleProblem(set.title) + u". The title was left empty for you to choose."_s};
    QuestionSet untitled = set;
    untitled.title.clear();
    const ExchangeImport gift = readGift(giftText(set).toUtf8(), u"Unused"_s);
    QCOMPARE(gift.notes, notes);
    QVERIFY(gift.set == untitled);
    const ExchangeImport aiken = readAiken(aikenText(set).toUtf8(), set.title);
    QCOMPARE(aiken.notes, notes);
    QVERIFY(aiken.set == untitled);
}

void ExchangeTest::severalWorksheets()
{
    WorksheetMaker maker(7);
    const QList<QuestionSet> sets = {maker.make(), maker.make(), maker.make()};

    const ExchangeImport gift = readGift(giftText(sets), u"Unused"_s);
    QVERIFY2(gift.ok, qPrintable(gift.error));
    QVERIFY(gift.set == sets[0]);
    QCOMPARE(gift.notes.size(), 3);
    QVERIFY(gift.notes[0].contains(u"the category \"%1\" begins"_s.arg(sets[1].title)));
    QVERIFY(gift.notes[1].contains(u"the category \"%1\" begins"_s.arg(sets[2].title)));
    QVERIFY(gift.notes[2].startsWith(u"A worksheet has ten questions, so the 20 further questions from line "_s));

    const ExchangeImport aiken = readAiken(aikenText(sets), sets[0].title);
    QVERIFY2(aiken.ok, qPrintable(aiken.error));
    QVERIFY(aiken.set == sets[0]);
    QCOMPARE(aiken.notes, QStringList{u"A worksheet has ten questions, so the 20 further questions from line 71 on "
                                      "were left out."_s});

    // One worksheet per file reads back whole, each under its own title.
    for (const QuestionSet &set : sets) {
        QVERIFY(readGift(giftText(set), u"Unused"_s).set == set);
        QVERIFY(readAiken(aikenText(set), set.title).set == set);
    }
}

QTEST_GUILESS_MAIN(ExchangeTest)
#include "tst_exchange.moc"
