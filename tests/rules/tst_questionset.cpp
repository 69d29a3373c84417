// Question set files: the loader's field rules, damaged files, and the writer's round trip.
#include "rules/questionset.h"
#include "rules/session.h"
#include "testsupport.h"
#include "quizfixture.h"

#include "platform/filechannel.h"

#include <QFile>
#include <QTest>

using namespace terravale;
using quizfixture::fileBytes;
using quizfixture::sampleSet;

namespace {
const QString kFile = u"multiple/Test.txt"_qs;

QuestionSet readFile(const test::DataFolder &data, const QByteArray &bytes)
{
    data.write(kFile, bytes);
    return readQuestionSetFile(kFile);
}
} // namespace

Q_DECLARE_METATYPE(terravale::QuestionSet)

class QuestionSetTest : public QObject {
    Q_OBJECT
private slots:
    void loads_data();
    void loads();
    void shortFileFailsOnTheRightRead_data();
    void shortFileFailsOnTheRightRead();
    void loadquestionsFillsSession();
    void correctFieldMustNameAChoice_data();
    void correctFieldMustNameAChoice();
    void writerWritesTheFormat();
    void storedLines_data();
    void storedLines();
    void roundTrip_data();
    void roundTrip();
    void canHold_data();
    void canHold();
    void faultNamesTheCharacter_data();
    void faultNamesTheCharacter();
    void shippedSetsFitTheWizard_data();
    void shippedSetsFitTheWizard();
    void shippedQuestions_data();
    void shippedQuestions();
};

void QuestionSetTest::loads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QuestionSet>("expected");

    const QuestionSet plain = sampleSet();
    const QStringList lines = questionSetLines(plain);
    QTest::newRow("plain CR LF") << fileBytes(lines) << plain;
    QTest::newRow("LF only") << fileBytes(lines, "\n") << plain;
    QTest::newRow("CR only") << fileBytes(lines, "\r") << plain;
    QTest::newRow("no line end after the last line") << fileBytes(lines).chopped(2) << plain;
    QTest::newRow("text after line 72")
        << fileBytes(lines + QStringList{u"extra line"_qs, u"more, with a comma"_qs, u"3"_qs}) << plain;

    {
        QStringList indented = lines;
        for (int i = 2; i < indented.size(); ++i)
            indented[i] = u"   "_qs + indented[i];
        indented[0] = u"\t Sample set"_qs;
        QTest::newRow("leading blanks dropped") << fileBytes(indented) << plain;
    }
    {
        QuestionSet set = plain;
        set.title = u"Rivers, seas , ponds"_qs;
        set.answera[1] = u"red,"_qs;
        set.quest[10] = u",leading and trailing,"_qs;
        QStringList stored = lines;
        stored[0] = u"Rivers& seas & ponds"_qs;
        stored[3] = u"red&"_qs;
        stored[65] = u"&leading and trailing&"_qs;
        QTest::newRow("& becomes a comma") << fileBytes(stored) << set;
    }
    {
        QuestionSet set = plain;
        set.title = u"Caf\u00e9 \u00a3 \u2019quotes\u2019"_qs;
        set.answerd[5] = u"na\u00efve \u20ac5"_qs;
        QByteArray bytes = fileBytes(lines);
        bytes.replace("Sample set", "Caf\xe9 \xa3 \x92quotes\x92");
        bytes.replace("5D", "na\xefve \x80" "5");
        QTest::newRow("Windows-1252 characters") << bytes << set;
    }
    {
        QuestionSet set = plain;
        set.quest[2] = QString();
        set.answerb[2] = QString();
        QStringList gaps = lines;
        gaps[9] = QString();
        gaps[11] = u"   "_qs;
        QTest::newRow("empty and blank lines give empty texts") << fileBytes(gaps) << set;
    }
    {
        QuestionSet set = plain;
        set.answerc[4] = u"trailing"_qs;
        QStringList trailing = lines;
        trailing[26] = u"trailing   "_qs;
        QTest::newRow("trailing blanks dropped") << fileBytes(trailing) << set;
    }
}

void QuestionSetTest::loads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QuestionSet, expected);
    test::DataFolder data(false);
    const QuestionSet set = readFile(data, bytes);
    QCOMPARE(set.title, expected.title);
    for (int n = 1; n <= 10; ++n) {
        QCOMPARE(set.quest[n], expected.quest[n]);
        QCOMPARE(set.answera[n], expected.answera[n]);
        QCOMPARE(set.answerb[n], expected.answerb[n]);
        QCOMPARE(set.answerc[n], expected.answerc[n]);
        QCOMPARE(set.answerd[n], expected.answerd[n]);
        QCOMPARE(set.correct[n], expected.correct[n]);
    }
    QVERIFY(set == expected);
}

void QuestionSetTest::shortFileFailsOnTheRightRead_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("empty file") << 0;
    QTest::newRow("title only") << 1;
    QTest::newRow("ends after 40 lines") << 40;
    QTest::newRow("ends before the last blank line") << 71;
}

void QuestionSetTest::shortFileFailsOnTheRightRead()
{
    QFETCH(int, lines);
    test::DataFolder data(false);
    const QuestionSet full = sampleSet();
    data.write(kFile, fileBytes(questionSetLines(full).mid(0, lines)));
    ChannelGuard guard;
    fileChannel().openRead(kFile);
    try {
        readQuestionSet(fileChannel());
        QFAIL("a short file was read as complete");
    } catch (const QuestionSetError &error) {
        QCOMPARE(error.field(), lines + 1);
        // Fields read before the failure are kept in the partial set, the rest are empty.
        const QuestionSet &partial = error.partial();
        QCOMPARE(partial.title, lines >= 1 ? full.title : QString());
        // Question n's text is line 3 + 7 (n - 1), its digit line 8 + 7 (n - 1).
        for (int n = 1; n <= 10; ++n) {
            QCOMPARE(partial.quest[n], 3 + 7 * (n - 1) <= lines ? full.quest[n] : QString());
            QCOMPARE(partial.correct[n], 8 + 7 * (n - 1) <= lines ? full.correct[n] : QString());
        }
    }
}

void QuestionSetTest::loadquestionsFillsSession()
{
    test::DataFolder data(false);
    const QuestionSet first = sampleSet(u"First"_qs);
    data.write(kFile, fileBytes(questionSetLines(first)));
    fileChannel().openRead(kFile);
    loadquestions();
    fileChannel().close();
    QVERIFY(session().set == first);
    QCOMPARE(session().set.title, u"First"_qs);
    QCOMPARE(session().set.answerd.at(10), u"10D"_qs);

    // A short file leaves the session exactly as the last complete load left it.
    const QuestionSet second = sampleSet(u"Second"_qs);
    data.write(kFile, fileBytes(questionSetLines(second).mid(0, 40)));
    fileChannel().openRead(kFile);
    QVERIFY_THROWS_EXCEPTION(QuestionSetError, loadquestions());
    fileChannel().abandon();
    QVERIFY(session().set == first);

    // Through the file function too; a missing file likewise, and the channel is left closed.
    for (const QString &path : {kFile, u"multiple/Missing.txt"_qs}) {
        QVERIFY_THROWS_EXCEPTION(FileError, loadQuestionFile(path));
        QVERIFY(!fileChannel().isOpen());
        QVERIFY(session().set == first);
    }
    data.write(kFile, fileBytes(questionSetLines(second)));
    loadQuestionFile(kFile);
    QVERIFY(!fileChannel().isOpen());
    QVERIFY(session().set == second);
}

void QuestionSetTest::correctFieldMustNameAChoice_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("choice");   // 0: the set is refused
    QTest::newRow("digit 1") << 1 << u"1"_qs << 1;
    QTest::newRow("digit 4 with blanks") << 1 << u"  4  "_qs << 4;
    QTest::newRow("digit 3 on question 10") << 10 << u"3"_qs << 3;
    QTest::newRow("zero") << 1 << u"0"_qs << 0;
    QTest::newRow("five") << 1 << u"5"_qs << 0;
    QTest::newRow("seven") << 4 << u"7"_qs << 0;
    QTest::newRow("nine on question 10") << 10 << u"9"_qs << 0;
    QTest::newRow("letter") << 1 << u"x"_qs << 0;
    QTest::newRow("two digits") << 1 << u"12"_qs << 0;
    QTest::newRow("empty") << 1 << QString() << 0;
    QTest::newRow("& is not restored") << 1 << u"&"_qs << 0;
}

void QuestionSetTest::correctFieldMustNameAChoice()
{
    QFETCH(int, question);
    QFETCH(QString, line);
    QFETCH(int, choice);
    test::DataFolder data(false);
    QStringList lines = questionSetLines(sampleSet());
    const int digitLine = 8 + 7 * (question - 1);   // 1-based
    lines[digitLine - 1] = line;
    if (choice != 0) {
        const QuestionSet set = readFile(data, fileBytes(lines));
        QCOMPARE(correctChoice(set.correct[question]), choice);
        QCOMPARE(set.quest[2], u"Question 2"_qs);
        return;
    }
    // A set whose quiz could not be won is damaged, like a short one: the session keeps the last set.
    session().set = sampleSet(u"Earlier"_qs);
    data.write(kFile, fileBytes(lines));
    ChannelGuard guard;
    fileChannel().openRead(kFile);
    try {
        loadquestions();
        QFAIL("a set without a correct choice was loaded");
    } catch (const QuestionSetError &error) {
        QCOMPARE(error.field(), digitLine);
        QCOMPARE(error.partial().quest[question], u"Question "_qs + QString::number(question));
    }
    QCOMPARE(session().set.title, u"Earlier"_qs);
}

void QuestionSetTest::writerWritesTheFormat()
{
    test::DataFolder data(false);
    QuestionSet set = sampleSet(u"Water, air and soil"_qs);
    set.correct[1] = u"3"_qs;
    set.answerb[1] = u"\u00a3 5, please"_qs;
    data.write(kFile, {});   // the folder
    fileChannel().openWrite(kFile);
    writeQuestionSet(fileChannel(), set);
    fileChannel().close();
    const QByteArray bytes = data.read(kFile);
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.size(), 73);            // 72 lines, each ended by CR LF
    QVERIFY(lines.last().isEmpty());
    QCOMPARE(bytes.count("\r\n"), 72);
    QCOMPARE(lines[0], QByteArray("Water& air and soil\r"));
    QCOMPARE(lines[1], QByteArray(" \r"));
    QCOMPARE(lines[2], QByteArray("Question 1\r"));
    QCOMPARE(lines[4], QByteArray("\xa3 5& please\r"));
    QCOMPARE(lines[7], QByteArray("3\r"));
    QCOMPARE(lines[8], QByteArray(" \r"));
    QCOMPARE(lines[70], QByteArray("2\r"));
    QCOMPARE(lines[71], QByteArray(" \r"));
    QVERIFY(!bytes.contains(','));
}

void QuestionSetTest::storedLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << u"plain"_qs << u"plain"_qs;
    QTest::newRow("commas") << u"a, b,"_qs << u"a& b&"_qs;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("quote inside stays bare") << u"the \"green\" bin"_qs << u"the \"green\" bin"_qs;
    QTest::newRow("leading blanks quoted") << u"  lead"_qs << u"\"  lead\""_qs;
    QTest::newRow("trailing blank quoted") << u"trail, "_qs << u"\"trail& \""_qs;
    QTest::newRow("blanks only quoted") << u"   "_qs << u"\"   \""_qs;
}

void QuestionSetTest::storedLines()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(storedLine(text), line);
}

void QuestionSetTest::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << u"Which bin takes glass?"_qs;
    QTest::newRow("commas") << u"Paper, card, and tins,"_qs;
    QTest::newRow("comma first") << u",odd"_qs;
    QTest::newRow("inner blanks") << u"a  b   c"_qs;
    QTest::newRow("Windows-1252") << u"Caf\u00e9 \u00a3 \u2019 \u20ac \u2013"_qs;
    QTest::newRow("quotes inside") << u"the \"green\" bin"_qs;
    QTest::newRow("quote last") << u"12\""_qs;
    QTest::newRow("empty") << QString();
    QTest::newRow("single character") << u"x"_qs;
    QTest::newRow("long") << QString(u"long text "_qs.repeated(40)).trimmed();
    QTest::newRow("leading blanks") << u"  indented"_qs;
    QTest::newRow("trailing blanks") << u"Paris  "_qs;
    QTest::newRow("blanks only") << u"   "_qs;
    QTest::newRow("comma then blank at the end") << u"red, "_qs;
    QTest::newRow("non-breaking space first") << u"\u00a0x"_qs;
}

void QuestionSetTest::roundTrip()
{
    QFETCH(QString, text);
    QVERIFY(questionSetCanHold(text));
    test::DataFolder data(false);
    QuestionSet set = sampleSet(text);
    for (int n = 1; n <= 10; ++n) {
        set.quest[n] = text;
        set.answerc[n] = text;
        set.correct[n] = QString::number(5 - ((n - 1) % 4 + 1));
    }
    data.write(kFile, {});   // the folder
    fileChannel().openWrite(kFile);
    writeQuestionSet(fileChannel(), set);
    fileChannel().close();
    fileChannel().openRead(kFile);
    const QuestionSet back = readQuestionSet(fileChannel());
    fileChannel().close();
    QVERIFY(back == set);
}

void QuestionSetTest::canHold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("holds");
    QTest::newRow("plain") << u"plain text"_qs << true;
    QTest::newRow("comma") << u"a, b"_qs << true;
    QTest::newRow("ampersand reads back as a comma") << u"a & b"_qs << false;
    QTest::newRow("leading blank") << u" a"_qs << true;
    QTest::newRow("trailing blank") << u"a "_qs << true;
    QTest::newRow("line break") << u"a\nb"_qs << false;
    QTest::newRow("tab") << u"a\tb"_qs << false;
    QTest::newRow("NUL") << QStringView(u"a\0b", 3).toString() << false;
    QTest::newRow("leading quote") << u"\"a\""_qs << false;
    QTest::newRow("leading quote, rest unquoted") << u"\"Crisp\" packet"_qs << false;
    QTest::newRow("quote after a leading blank") << u" \"a"_qs << false;
    QTest::newRow("quote and a trailing blank") << u"say \"hi\" "_qs << false;
    QTest::newRow("quote inside") << u"say \"hi\" now"_qs << true;
    QTest::newRow("outside Windows-1252") << u"\u4e2d"_qs << false;
    QTest::newRow("emoji") << u"Earth \U0001F30D"_qs << false;
}

void QuestionSetTest::canHold()
{
    QFETCH(QString, text);
    QFETCH(bool, holds);
    QCOMPARE(questionSetCanHold(text), holds);
}

void QuestionSetTest::faultNamesTheCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("character");
    QTest::addColumn<uint>("codePoint");
    QTest::addColumn<QString>("name");
    QTest::newRow("emoji, both halves") << u"Earth \U0001F30D!"_qs << int(TextFault::Unencodable)
                                        << u"\U0001F30D"_qs << 0x1F30Du << u"U+1F30D"_qs;
    QTest::newRow("lone high half") << QString(QChar(0xD83C)) << int(TextFault::Unencodable)
                                    << QString(QChar(0xD83C)) << 0xD83Cu << u"U+D83C"_qs;
    QTest::newRow("Polish letter") << u"Gda\u0144sk"_qs << int(TextFault::Unencodable) << u"\u0144"_qs << 0x144u
                                   << u"U+0144"_qs;
    QTest::newRow("NUL") << QStringView(u"ab\0c", 4).toString() << int(TextFault::Control) << QString(QChar(0))
                         << 0u << u"U+0000"_qs;
    QTest::newRow("C1 control") << u"a\u0081"_qs << int(TextFault::Control) << u"\u0081"_qs << 0x81u
                                << u"U+0081"_qs;
    QTest::newRow("ampersand") << u"salt & pepper"_qs << int(TextFault::Ampersand) << u"&"_qs << uint('&')
                               << u"U+0026"_qs;
    QTest::newRow("none") << u"Caf\u00e9, \u20ac5"_qs << int(TextFault::None) << QString() << 0u << u"U+0000"_qs;
}

void QuestionSetTest::faultNamesTheCharacter()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, character);
    QFETCH(uint, codePoint);
    QFETCH(QString, name);
    const TextFault fault = questionSetTextFault(text);
    QCOMPARE(int(fault.kind), kind);
    QCOMPARE(fault.character, character);
    QCOMPARE(uint(fault.codePoint), codePoint);
    QCOMPARE(codePointName(fault.codePoint), name);
}

void QuestionSetTest::shippedSetsFitTheWizard_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("Rubbish") << u"multiple/Rubbish.txt"_qs;
    QTest::newRow("Resources") << u"multiple/Resources.txt"_qs;
}

void QuestionSetTest::shippedSetsFitTheWizard()
{
    // A teacher can open a copy of a topic's set in the wizard and save it unchanged.
    QFETCH(QString, file);
    QFile in(test::generatedData() + QLatin1Char('/') + file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    QCOMPARE(bytes.count("\r\n"), 72);
    QVERIFY(!bytes.contains(','));
    test::DataFolder data(false);
    const QuestionSet set = readFile(data, bytes);
    QVERIFY(set.title.size() <= 25);
    for (int n = 1; n <= 10; ++n) {
        const QStringList choices{set.answera[n], set.answerb[n], set.answerc[n], set.answerd[n]};
        QVERIFY2(!set.quest[n].isEmpty() && set.quest[n].size() <= 60, qPrintable(set.quest[n]));
        QVERIFY2(questionSetCanHold(set.quest[n]), qPrintable(set.quest[n]));
        for (const QString &choice : choices) {
            QVERIFY2(!choice.isEmpty() && choice.size() <= 30, qPrintable(choice));
            QVERIFY2(questionSetCanHold(choice), qPrintable(choice));
            QCOMPARE(choices.count(choice), 1);
        }
    }
}

void QuestionSetTest::shippedQuestions_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("others");
    const QString rubbish = u"multiple/Rubbish.txt"_qs;
    const QString resources = u"multiple/Resources.txt"_qs;
    QTest::newRow("landfill") << rubbish << 2 << u"What is a landfill site?"_qs << u"A place for burying rubbish"_qs
                              << QStringList{u"A park for playing in"_qs, u"A farm for growing food"_qs,
                                             u"A shop for old toys"_qs};
    QTest::newRow("three Rs") << rubbish << 4 << u"Which three Rs help us make less rubbish?"_qs
                              << u"Reduce, reuse, recycle"_qs << QStringList{u"Read, write, run"_qs,
                                 u"Rest, relax, rewind"_qs, u"Rubbish, rats, rust"_qs};
    QTest::newRow("compost") << rubbish << 5 << u"Which of these can go on a compost heap?"_qs
                             << u"Fruit peel and apple cores"_qs
                             << QStringList{u"Crisp packets"_qs, u"Drinks cans"_qs, u"Old batteries"_qs};
    QTest::newRow("litter and animals") << rubbish << 8 << u"Why is litter dangerous to animals?"_qs
                                        << u"It can choke or trap them"_qs
                                        << QStringList{u"It keeps them too warm"_qs, u"It makes them run faster"_qs,
                                                       u"It helps them sleep"_qs};
    QTest::newRow("dropped litter") << rubbish << 10 << u"What should you do if you drop litter?"_qs
                                    << u"Pick it up and bin it"_qs
                                    << QStringList{u"Leave it for someone else"_qs, u"Kick it under a bush"_qs,
                                                   u"Hope the wind blows it away"_qs};
    QTest::newRow("non-renewable") << resources << 3 << u"Fossil fuels are non-renewable. What does that mean?"_qs
                                   << u"They will run out one day"_qs
                                   << QStringList{u"They will never run out"_qs, u"They can be grown again"_qs,
                                                  u"They cost nothing to use"_qs};
    QTest::newRow("sunlight") << resources << 5 << u"What turns sunlight straight into electricity?"_qs
                              << u"A solar panel"_qs
                              << QStringList{u"A wind turbine"_qs, u"A water wheel"_qs, u"A coal power station"_qs};
    QTest::newRow("hydroelectric") << resources << 7 << u"What does hydroelectric power use to make electricity?"_qs
                                   << u"Flowing water"_qs
                                   << QStringList{u"Hot rocks"_qs, u"Burning wood"_qs, u"Moonlight"_qs};
    QTest::newRow("tides") << resources << 8 << u"Which kind of power uses the sea going in and out each day?"_qs
                           << u"Tidal power"_qs
                           << QStringList{u"Solar power"_qs, u"Wind power"_qs, u"Coal power"_qs};
    QTest::newRow("water") << resources << 9 << u"Which of these saves water?"_qs << u"Taking short showers"_qs
                           << QStringList{u"Leaving the tap running"_qs, u"Watering the garden at noon"_qs,
                                          u"Filling the bath to the top"_qs};
    QTest::newRow("energy at school") << resources << 10 << u"Which of these saves energy at school?"_qs
                                      << u"Switching off unused lights"_qs
                                      << QStringList{u"Leaving computers on all night"_qs,
                                                     u"Heating with the windows open"_qs,
                                                     u"Leaving doors open in winter"_qs};
}

void QuestionSetTest::shippedQuestions()
{
    QFETCH(QString, file);
    QFETCH(int, question);
    QFETCH(QString, text);
    QFETCH(QString, answer);
    QFETCH(QStringList, others);
    QFile in(test::generatedData() + QLatin1Char('/') + file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    test::DataFolder data(false);
    const QuestionSet set = readFile(data, in.readAll());
    QCOMPARE(set.quest[question], text);
    const QStringList choices{set.answera[question], set.answerb[question], set.answerc[question],
                              set.answerd[question]};
    QCOMPARE(choices.at(correctChoice(set.correct[question]) - 1), answer);
    QStringList wrong = choices;
    wrong.removeOne(answer);
    QCOMPARE(wrong, others);
}

QTEST_MAIN(QuestionSetTest)
#include "tst_questionset.moc"
