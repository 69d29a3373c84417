// The worksheet catalogue store: reading, listing a saved title, deleting, and saving a worksheet.
#include "platform/filechannel.h"
#include "rules/questionset.h"
#include "rules/session.h"
#include "testsupport.h"
#include "rules/authoring.h"
#include "rules/catalogue.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace terravale;

namespace {
const QString kTrack = u"multiple/track.txt"_qs;

// A file name no other process uses, for titles that try to leave the worksheet folder.
QString escapeName()
{
    return u"texts-escape-"_qs + QString::number(QCoreApplication::applicationPid());
}

QByteArray catalogue(const QStringList &titles, int count = -1)
{
    QByteArray bytes = ' ' + QByteArray::number(count < 0 ? titles.size() : count) + " \r\n";
    for (const QString &title : titles)
        bytes += title.toLatin1() + "\r\n";
    return bytes;
}

QStringList numbered(const QString &stem, int count)
{
    QStringList titles;
    for (int i = 1; i <= count; ++i)
        titles << stem + QString::number(i);
    return titles;
}

QStringList listed(const Session &s)
{
    QStringList titles;
    for (int i = 1; i <= s.numsheets; ++i)
        titles << s.sheetnames.at(i);
    return titles;
}

WorksheetEntries completeEntries(const QString &title)
{
    WorksheetEntries entries;
    entries.title = title;
    for (int q = 0; q < 10; ++q) {
        entries.questions[q] = u"Question text "_qs + QString::number(q + 1);
        for (int k = 0; k < 4; ++k)
            entries.choices[4 * q + k] = u"Choice "_qs + QChar(u'A' + k);
        entries.ticks[4 * q + q % 4] = true;
    }
    return entries;
}

int lineCount(const QByteArray &bytes) { return int(bytes.count("\r\n")); }

// Random text of 1..maxLength characters from `common`: letters, blanks, commas, Windows-1252
// characters; each piece is one of `risky` with riskPercent per cent. Now and then a double quote
// goes inside or in front, and blanks at either end.
struct TextMaker {
    QRandomGenerator random{20250611};

    QString make(int maxLength, const QStringList &common, const QStringList &risky, int riskPercent,
                 int quotePercent, int endBlankPercent)
    {
        QString text;
        const int length = 1 + int(random.bounded(maxLength));
        while (text.size() < length) {
            const bool risk = int(random.bounded(100)) < riskPercent;
            const QStringList &pool = risk ? risky : common;
            const QString piece = pool.at(int(random.bounded(pool.size())));
            if (text.size() + piece.size() > maxLength)
                break;
            text += piece;
        }
        if (text.isEmpty())
            text = u"x"_qs;
        if (chance(quotePercent))
            text[int(random.bounded(text.size()))] = QLatin1Char('"');
        if (chance(quotePercent / 3))
            text[0] = QLatin1Char('"');
        if (chance(endBlankPercent))
            text[0] = QLatin1Char(' ');
        if (chance(endBlankPercent))
            text[text.size() - 1] = QLatin1Char(' ');
        return text;
    }
    bool chance(int percent) { return int(random.bounded(100)) < percent; }
};

const QStringList kCommon = {u"a"_qs, u"b"_qs, u"K"_qs, u"z"_qs, u"7"_qs, u" "_qs, u" "_qs, u","_qs, u"?"_qs,
                             u"'"_qs, u"."_qs, u"-"_qs, u"\u00e9"_qs, u"\u20ac"_qs, u"\u2019"_qs, u"\u201c"_qs,
                             u"\u00a3"_qs, u"\u00a0"_qs, u"\u00ff"_qs, u"\u0152"_qs};
const QStringList kRisky = {u"&"_qs, u"\t"_qs, u"\U0001F30D"_qs, u"\u0144"_qs, u"\u0081"_qs, QString(QChar(0)),
                            u"\r"_qs, u"\n"_qs, QString(QChar(0xD83C)), u"\""_qs};
const QStringList kTitleCommon = {u"a"_qs, u"R"_qs, u"w"_qs, u"3"_qs, u" "_qs, u"'"_qs, u"-"_qs, u"\u00e9"_qs,
                                  u"("_qs, u"\u00a3"_qs};
const QStringList kTitleRisky = {u","_qs, u"&"_qs, u"\""_qs, u"/"_qs, u"\\"_qs, u".."_qs, u":"_qs, u"?"_qs,
                                 u"\U0001F30D"_qs, QString(QChar(0)), u"\t"_qs};
} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void quietReadAfterStrictFailure();
    void track_data();
    void track();
    void trackFullCatalogueKeepsItWhole();
    void del_data();
    void del();
    void delMissingCatalogueCreatesNothing();
    void ensureCreatesOnlyWhenMissing();
    void failedWriteLeavesOldCatalogue();
    void killedSaveLeavesCatalogueWhole();
    void saveListsOnceAndOverwrites();
    void saveRefusals_data();
    void saveRefusals();
    void saveListedTitleBesideItsCaseTwin();
    void saveCreatesMissingCatalogue();
    void saveAfterDeleteListsAgainAtEnd();
    void saveRoundTripsThroughLoader();
    void entriesOfASet_data();
    void entriesOfASet();
    void acceptedTextsRoundTrip();
    void folderBoundary_data();
    void folderBoundary();
    void storeRefusesTitles_data();
    void storeRefusesTitles();
    void reservedTitles_data();
    void reservedTitles();
    void reservedListGrows();
};

void CatalogueTest::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("three") << catalogue({u"A"_qs, u"B"_qs, u"C"_qs}) << true << QStringList{u"A"_qs, u"B"_qs, u"C"_qs};
    QTest::newRow("empty") << QByteArray(" 0 \r\n") << true << QStringList();
    QTest::newRow("no blanks around count") << QByteArray("2\r\nA\r\nB\r\n") << true << QStringList{u"A"_qs, u"B"_qs};
    QTest::newRow("blanks before titles") << QByteArray(" 2 \r\n   A\r\n  B b\r\n") << true
                                          << QStringList{u"A"_qs, u"B b"_qs};
    QTest::newRow("LF alone") << QByteArray(" 2 \nA\nB") << true << QStringList{u"A"_qs, u"B"_qs};
    QTest::newRow("text after the titles") << QByteArray(" 1 \r\nA\r\nB\r\ngarbage,\"\r\n") << true
                                           << QStringList{u"A"_qs};
    QTest::newRow("empty title line") << QByteArray(" 2 \r\n\r\nB\r\n") << true << QStringList{QString(), u"B"_qs};
    QTest::newRow("a thousand") << catalogue(numbered(u"T"_qs, 1000)) << true << numbered(u"T"_qs, 1000);
    QTest::newRow("missing") << QByteArray() << false << QStringList();
    QTest::newRow("empty file") << QByteArray("") << false << QStringList();
    QTest::newRow("count not a number") << QByteArray("many\r\nA\r\n") << false << QStringList();
    QTest::newRow("negative count") << QByteArray(" -1 \r\n") << false << QStringList();
    QTest::newRow("fewer titles than count") << catalogue({u"A"_qs}, 3) << false << QStringList();
    QTest::newRow("above a thousand") << catalogue(numbered(u"T"_qs, 1001)) << false << QStringList();
}

void CatalogueTest::read()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, readable);
    QFETCH(QStringList, titles);
    test::DataFolder data;
    if (QByteArray(QTest::currentDataTag()) == "missing")
        data.remove(kTrack);
    else
        data.write(kTrack, file);
    Session s;
    s.numsheets = 2;
    s.sheetnames[1] = u"old 1"_qs;
    s.sheetnames[2] = u"old 2"_qs;
    if (readable) {
        readCatalogue(s);
        QCOMPARE(listed(s), titles);
    } else {
        QVERIFY_THROWS_EXCEPTION(FileError, readCatalogue(s));
        // A failed read leaves the session's list as it was.
        QCOMPARE(listed(s), (QStringList{u"old 1"_qs, u"old 2"_qs}));
    }
    QVERIFY(!fileChannel().isOpen());
}

void CatalogueTest::quietReadAfterStrictFailure()
{
    test::DataFolder data;
    data.write(kTrack, catalogue({u"A"_qs}, 3));
    Session s;
    QVERIFY_THROWS_EXCEPTION(FileError, readCatalogue(s));
    readCatalogueQuietly(s);
    QCOMPARE(s.numsheets, 3);
    QCOMPARE(s.sheetnames[1], u"A"_qs);
    QVERIFY(!fileChannel().isOpen());
}

void CatalogueTest::track_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("added");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("first title") << QStringList() << u"Trees"_qs << true << QByteArray(" 1 \r\nTrees\r\n");
    QTest::newRow("new title goes last") << QStringList{u"B"_qs, u"A"_qs} << u"C"_qs << true
                                         << QByteArray(" 3 \r\nB\r\nA\r\nC\r\n");
    QTest::newRow("listed title leaves it") << QStringList{u"Trees"_qs, u"Sea"_qs} << u"Trees"_qs << false
                                            << catalogue({u"Trees"_qs, u"Sea"_qs});
    QTest::newRow("compared with case") << QStringList{u"Trees"_qs} << u"trees"_qs << true
                                        << QByteArray(" 2 \r\nTrees\r\ntrees\r\n");
    QTest::newRow("ampersand kept") << QStringList() << u"Sun & sea"_qs << true << QByteArray(" 1 \r\nSun & sea\r\n");
    QTest::newRow("999 to 1000") << numbered(u"T"_qs, 999) << u"Last"_qs << true
                                 << catalogue(numbered(u"T"_qs, 999) << u"Last"_qs);
}

void CatalogueTest::track()
{
    QFETCH(QStringList, before);
    QFETCH(QString, title);
    QFETCH(bool, added);
    QFETCH(QByteArray, after);
    test::DataFolder data;
    data.write(kTrack, catalogue(before));
    Session s;
    QCOMPARE(trackworksheets(s, title), added);
    QCOMPARE(data.read(kTrack), after);
    QCOMPARE(s.numsheets, lineCount(after) - 1);
    QCOMPARE(s.sheetnames.at(s.numsheets), added ? title : before.last());
    QVERIFY(!fileChannel().isOpen());
}

void CatalogueTest::trackFullCatalogueKeepsItWhole()
{
    test::DataFolder data;
    const QByteArray full = catalogue(numbered(u"T"_qs, 1000));
    data.write(kTrack, full);
    Session s;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, trackworksheets(s, u"One more"_qs));
    QCOMPARE(data.read(kTrack), full);
    QVERIFY(trackworksheets(s, u"T1000"_qs) == false);
    QVERIFY(!fileChannel().isOpen());
}

void CatalogueTest::del_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QStringList>("after");
    const QStringList abc{u"A"_qs, u"B"_qs, u"C"_qs};
    QTest::newRow("first of three") << abc << u"A"_qs << true << QStringList{u"B"_qs, u"C"_qs};
    QTest::newRow("middle") << abc << u"B"_qs << true << QStringList{u"A"_qs, u"C"_qs};
    QTest::newRow("last of three") << abc << u"C"_qs << true << QStringList{u"A"_qs, u"B"_qs};
    QTest::newRow("only title") << QStringList{u"A"_qs} << u"A"_qs << true << QStringList();
    QTest::newRow("last of equal entries") << QStringList{u"A"_qs, u"B"_qs, u"A"_qs, u"C"_qs} << u"A"_qs << true
                                           << QStringList{u"A"_qs, u"B"_qs, u"C"_qs};
    QTest::newRow("case matters") << abc << u"a"_qs << false << abc;
    QTest::newRow("no longer listed") << abc << u"D"_qs << false << abc;
    QTest::newRow("from a full catalogue") << numbered(u"T"_qs, 1000) << u"T1"_qs << true
                                           << numbered(u"T"_qs, 1000).mid(1);
}

void CatalogueTest::del()
{
    QFETCH(QStringList, before);
    QFETCH(QString, title);
    QFETCH(bool, removed);
    QFETCH(QStringList, after);
    test::DataFolder data;
    data.write(kTrack, catalogue(before));
    data.write(u"multiple/"_qs + title + u".txt"_qs, "kept");
    Session s;
    s.delsheet = title;
    QCOMPARE(delworksheet(s), removed);
    QCOMPARE(data.read(kTrack), catalogue(after));
    QCOMPARE(listed(s), after);
    QCOMPARE(data.read(u"multiple/"_qs + title + u".txt"_qs), QByteArray("kept"));
    QVERIFY(!fileChannel().isOpen());
}

void CatalogueTest::delMissingCatalogueCreatesNothing()
{
    test::DataFolder data;
    data.remove(kTrack);
    Session s;
    s.delsheet = u"A"_qs;
    QVERIFY_THROWS_EXCEPTION(FileError, delworksheet(s));
    QVERIFY(!QFile::exists(data.file(kTrack)));
    data.write(kTrack, catalogue({u"A"_qs}, 2));
    QVERIFY_THROWS_EXCEPTION(FileError, delworksheet(s));
    QCOMPARE(data.read(kTrack), catalogue({u"A"_qs}, 2));
}

void CatalogueTest::ensureCreatesOnlyWhenMissing()
{
    test::DataFolder data;
    data.write(kTrack, catalogue({u"A"_qs}));
    ensureCatalogue();
    QCOMPARE(data.read(kTrack), catalogue({u"A"_qs}));
    data.remove(kTrack);
    ensureCatalogue();
    QCOMPARE(data.read(kTrack), QByteArray(" 0 \r\n"));
    QVERIFY(QDir(data.file(u"multiple"_qs)).removeRecursively());
    ensureCatalogue();
    QCOMPARE(data.read(kTrack), QByteArray(" 0 \r\n"));
}

void CatalogueTest::failedWriteLeavesOldCatalogue()
{
    test::DataFolder data;
    const QByteArray old = catalogue({u"A"_qs, u"B"_qs});
    data.write(kTrack, old);
    const QStringList files = QDir(data.file(u"multiple"_qs)).entryList(QDir::Files | QDir::Hidden);
    // Title 600 cannot be encoded, so the write fails after 600 lines are written and before the close.
    SheetNames names;
    for (int i = 1; i <= 1000; ++i)
        names[i] = i == 600 ? u"Ł"_qs : u"New "_qs + QString::number(i);
    QVERIFY_THROWS_EXCEPTION(FileError, writeCatalogue(names, 1000));
    QCOMPARE(data.read(kTrack), old);
    QVERIFY(!fileChannel().isOpen());
    QCOMPARE(QDir(data.file(u"multiple"_qs)).entryList(QDir::Files | QDir::Hidden), files);
}

void CatalogueTest::killedSaveLeavesCatalogueWhole()
{
    test::DataFolder data;
    SheetNames first, second;
    for (int i = 1; i <= 1000; ++i) {
        first[i] = u"First worksheet number "_qs + QString::number(i);
        second[i] = u"Second worksheet number "_qs + QString::number(i);
    }
    writeCatalogue(first, 1000);
    for (int round = 0; round < 8; ++round) {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            for (int n = 0;; ++n)
                writeCatalogue(n % 2 ? first : second, 1000);
        }
        QTest::qSleep(3 + 7 * round);
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY(WIFSIGNALED(status));
        Session s;
        readCatalogue(s);
        QCOMPARE(s.numsheets, 1000);
        const SheetNames &expected = s.sheetnames[1] == first[1] ? first : second;
        for (int i = 1; i <= 1000; ++i)
            QCOMPARE(s.sheetnames[i], expected[i]);
        QCOMPARE(data.read(kTrack).size(), catalogue(listed(s)).size());
    }
}

void CatalogueTest::saveListsOnceAndOverwrites()
{
    test::DataFolder data;
    data.write(kTrack, catalogue({u"Sea"_qs}));
    Session s;
    WorksheetEntries entries = completeEntries(u"Trees (big)"_qs);
    QCOMPARE(storeWorksheet(s, entries), kSavedMessage);
    const QByteArray file = data.read(u"multiple/Trees (big).txt"_qs);
    QCOMPARE(lineCount(file), 72);
    QVERIFY(file.startsWith("Trees (big)\r\n \r\nQuestion text 1\r\nChoice A\r\n"));
    QCOMPARE(data.read(kTrack), catalogue({u"Sea"_qs, u"Trees (big)"_qs}));
    entries.questions[9] = u"Changed, with a comma"_qs;
    QCOMPARE(storeWorksheet(s, entries), kSavedMessage);
    QVERIFY(data.read(u"multiple/Trees (big).txt"_qs).contains("Changed& with a comma\r\n"));
    QCOMPARE(data.read(kTrack), catalogue({u"Sea"_qs, u"Trees (big)"_qs}));
}

void CatalogueTest::saveRefusals_data()
{
    QTest::addColumn<QByteArray>("track");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::newRow("full catalogue") << catalogue(numbered(u"T"_qs, 1000)) << u"New"_qs << kSaveProblemMessage;
    QTest::newRow("short catalogue") << catalogue({u"A"_qs}, 4) << u"New"_qs << kSaveProblemMessage;
    QTest::newRow("catalogue count not a number") << QByteArray("x\r\n") << u"New"_qs << kSaveProblemMessage;
    QTest::newRow("other letter case") << catalogue({u"Trees"_qs}) << u"TREES"_qs
                                       << u"There is already a worksheet called Trees. To replace it, save under "
                                          "exactly that title; otherwise choose another title."_qs;
}

void CatalogueTest::saveRefusals()
{
    QFETCH(QByteArray, track);
    QFETCH(QString, title);
    QFETCH(QString, message);
    test::DataFolder data;
    data.write(kTrack, track);
    const QStringList before = QDir(data.file(u"multiple"_qs)).entryList(QDir::Files);
    Session s;
    QCOMPARE(storeWorksheet(s, completeEntries(title)), message);
    QCOMPARE(data.read(kTrack), track);
    QCOMPARE(QDir(data.file(u"multiple"_qs)).entryList(QDir::Files), before);
    QVERIFY(!fileChannel().isOpen());
}

void CatalogueTest::saveListedTitleBesideItsCaseTwin()
{
    // An older catalogue may list both spellings; each still saves under its own title.
    test::DataFolder data;
    const QByteArray track = catalogue({u"Trees"_qs, u"trees"_qs});
    data.write(kTrack, track);
    Session s;
    QCOMPARE(storeWorksheet(s, completeEntries(u"trees"_qs)), kSavedMessage);
    QCOMPARE(data.read(kTrack), track);
    QCOMPARE(storeWorksheet(s, completeEntries(u"TREES"_qs)).left(36), u"There is already a worksheet called "_qs);
}

void CatalogueTest::saveCreatesMissingCatalogue()
{
    test::DataFolder data;
    data.remove(kTrack);
    Session s;
    QCOMPARE(storeWorksheet(s, completeEntries(u"Trees"_qs)), kSavedMessage);
    QCOMPARE(data.read(kTrack), QByteArray(" 1 \r\nTrees\r\n"));
    QCOMPARE(lineCount(data.read(u"multiple/Trees.txt"_qs)), 72);
}

void CatalogueTest::saveAfterDeleteListsAgainAtEnd()
{
    test::DataFolder data;
    data.write(kTrack, catalogue({}));
    Session s;
    for (const QString &title : {u"A"_qs, u"B"_qs, u"C"_qs})
        QCOMPARE(storeWorksheet(s, completeEntries(title)), kSavedMessage);
    s.delsheet = u"A"_qs;
    QVERIFY(delworksheet(s));
    QVERIFY(QFile::exists(data.file(u"multiple/A.txt"_qs)));
    QCOMPARE(storeWorksheet(s, completeEntries(u"A"_qs)), kSavedMessage);
    QCOMPARE(data.read(kTrack), catalogue({u"B"_qs, u"C"_qs, u"A"_qs}));
}

void CatalogueTest::saveRoundTripsThroughLoader()
{
    test::DataFolder data;
    WorksheetEntries entries = completeEntries(u"Money"_qs);
    entries.choices[1] = u"5,000"_qs;
    entries.questions[2] = u"Café, naïve — “quoted”"_qs;
    QCOMPARE(storeWorksheet(session(), entries), kSavedMessage);
    loadQuestionFile(worksheetPath(u"Money"_qs));
    const QuestionSet &s = session().set;
    QCOMPARE(s.title, u"Money"_qs);
    QCOMPARE(s.answerb[1], u"5,000"_qs);
    QCOMPARE(s.quest[3], entries.questions[2]);
    for (int q = 0; q < 10; ++q) {
        QCOMPARE(s.quest[q + 1], entries.questions[q]);
        QCOMPARE(s.correct[q + 1], QString::number(q % 4 + 1));
    }
}

void CatalogueTest::entriesOfASet_data()
{
    QTest::addColumn<int>("question");   // 1..10
    QTest::addColumn<QString>("digit");
    QTest::addColumn<int>("tick");       // 0..3, or -1: the set is refused
    QTest::newRow("digit 1") << 1 << u"1"_qs << 0;
    QTest::newRow("digit 4 with blanks") << 10 << u" 4 "_qs << 3;
    QTest::newRow("zero") << 3 << u"0"_qs << -1;
    QTest::newRow("five") << 10 << u"5"_qs << -1;
    QTest::newRow("empty") << 7 << QString() << -1;
}

void CatalogueTest::entriesOfASet()
{
    QFETCH(int, question);
    QFETCH(QString, digit);
    QFETCH(int, tick);
    const WorksheetEntries typed = completeEntries(u"Soil"_qs);
    QuestionSet set = questionSetOf(typed);
    QVERIFY(entriesOf(set).ticks == typed.ticks);
    set.correct[question] = digit;
    if (tick < 0) {
        QVERIFY_THROWS_EXCEPTION(FileError, entriesOf(set));
        return;
    }
    const WorksheetEntries entries = entriesOf(set);
    QCOMPARE(entries.title, u"Soil"_qs);
    QVERIFY(entries.questions == typed.questions);
    QVERIFY(entries.choices == typed.choices);
    for (int k = 0; k < 4; ++k)
        QCOMPARE(entries.ticks[4 * (question - 1) + k], k == tick);
    QCOMPARE(int(std::count(entries.ticks.begin(), entries.ticks.end(), true)), 10);
}

void CatalogueTest::acceptedTextsRoundTrip()
{
    // Whatever the wizard accepts comes back from the file exactly, title included; what it refuses
    // is refused for a reason a text of that worksheet really has.
    test::DataFolder data;
    data.write(kTrack, catalogue({}));
    TextMaker maker;
    int accepted = 0;
    int refused = 0;
    for (int round = 0; round < 600; ++round) {
        // A third of the worksheets hold only what a file can keep; the rest now and then more.
        const bool clean = round % 3 == 0;
        const int risk = clean ? 0 : int(maker.random.bounded(3));
        WorksheetEntries entries;
        entries.title = u"T"_qs + maker.make(18, kTitleCommon, kTitleRisky, round % 4 == 1 ? 8 : 0, 0, 0)
                        + QString::number(round);
        for (int q = 0; q < 10; ++q) {
            entries.questions[q] = maker.make(60, kCommon, kRisky, risk, 3, 8);
            for (int k = 0; k < 4; ++k)
                entries.choices[4 * q + k] = maker.make(30, kCommon, kRisky, risk, 3, 8);
            entries.ticks[4 * q + int(maker.random.bounded(4))] = true;
        }
        bool holdable = titleProblem(entries.title).isEmpty();
        for (const QString &text : entries.questions)
            holdable = holdable && questionSetCanHold(text);
        for (const QString &text : entries.choices)
            holdable = holdable && questionSetCanHold(text);
        const QString message = validationMessage(entries);
        QVERIFY2(message.isEmpty() == holdable, qPrintable(message));
        if (!message.isEmpty()) {
            ++refused;
            continue;
        }
        ++accepted;
        Session &s = session();
        QCOMPARE(storeWorksheet(s, entries), kSavedMessage);
        QuestionSet back;
        back = readQuestionSetFile(worksheetPath(entries.title));
        const QuestionSet saved = questionSetOf(entries);
        for (int n = 1; n <= 10; ++n) {
            QCOMPARE(back.quest[n], saved.quest[n]);
            QCOMPARE(back.answera[n], saved.answera[n]);
            QCOMPARE(back.answerb[n], saved.answerb[n]);
            QCOMPARE(back.answerc[n], saved.answerc[n]);
            QCOMPARE(back.answerd[n], saved.answerd[n]);
        }
        QVERIFY(back == saved);
        Session fresh;
        readCatalogue(fresh);
        QCOMPARE(fresh.sheetnames.at(fresh.numsheets), entries.title);
    }
    QVERIFY2(accepted >= 60 && refused >= 60, qPrintable(u"%1 accepted, %2 refused"_qs.arg(accepted).arg(refused)));
}

void CatalogueTest::folderBoundary_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("inside");
    QTest::newRow("plain") << u"Trees"_qs << true;
    QTest::newRow("ampersand and dots") << u"Sun & sea. Part 1"_qs << true;
    QTest::newRow("up two folders") << u"../../outside/secret"_qs << false;
    QTest::newRow("up with backslashes") << u"..\\..\\secret"_qs << false;
    QTest::newRow("two dots alone") << u".."_qs << false;
    QTest::newRow("into a folder") << u"sub/sheet"_qs << false;
    QTest::newRow("absolute") << u"/etc/passwd"_qs << false;
    QTest::newRow("drive") << u"C:secret"_qs << false;
    QTest::newRow("drive, small letter") << u"d:\\x"_qs << false;
    QTest::newRow("digit and colon") << u"1:2"_qs << true;
    QTest::newRow("NUL") << QStringView(u"cut\0here", 8).toString() << false;
    QTest::newRow("line break") << u"two\nlines"_qs << false;
    QTest::newRow("tab") << u"a\tb"_qs << false;
}

void CatalogueTest::folderBoundary()
{
    QFETCH(QString, title);
    QFETCH(bool, inside);
    QCOMPARE(staysInWorksheetFolder(title), inside);
    if (inside)
        QCOMPARE(worksheetPath(title), u"multiple/"_qs + title + u".txt"_qs);
    else
        QVERIFY_THROWS_EXCEPTION(FileError, worksheetPath(title));
}

void CatalogueTest::storeRefusesTitles_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    const QString character = u"A worksheet title cannot contain the character "_qs;
    const QString own = u" is used by the program itself; please choose another title"_qs;
    // The escape name is this run's own: another program may have left a file of a fixed name in /tmp.
    const QString escape = escapeName();
    QTest::newRow("up two folders") << u"../../"_qs + escape << character + u"/"_qs;
    QTest::newRow("backslashes") << u"..\\"_qs + escape << character + u"\\"_qs;
    QTest::newRow("the catalogue") << u"track"_qs << u"The title track"_qs + own;
    QTest::newRow("the catalogue, capitals") << u"TRACK"_qs << u"The title TRACK"_qs + own;
    QTest::newRow("a topic set") << u"Rubbish"_qs << u"The title Rubbish"_qs + own;
    QTest::newRow("a new topic set") << u"atmosphere"_qs << u"The title atmosphere"_qs + own;
    QTest::newRow("drive") << u"C:"_qs + escape << character + u":"_qs;
    QTest::newRow("NUL") << QStringView(u"cut\0here", 8).toString()
                         << u"A worksheet title cannot contain a control character (U+0000)"_qs;
    QTest::newRow("ampersand") << u"Sun & sea"_qs << character + u"&"_qs;
    QTest::newRow("empty") << QString() << kNoTitleMessage;
}

void CatalogueTest::storeRefusesTitles()
{
    // The store's own save, called without the wizard's checks, writes nothing for these titles.
    QFETCH(QString, title);
    QFETCH(QString, message);
    test::DataFolder data;
    const QByteArray track = catalogue({u"A"_qs});
    data.write(kTrack, track);
    const QStringList before = QDir(data.file(u"multiple"_qs)).entryList(QDir::Files);
    const QByteArray rubbish = data.read(u"multiple/Rubbish.txt"_qs);
    Session s;
    QCOMPARE(storeWorksheet(s, completeEntries(title)), message);
    QCOMPARE(data.read(kTrack), track);
    QCOMPARE(data.read(u"multiple/Rubbish.txt"_qs), rubbish);
    QCOMPARE(QDir(data.file(u"multiple"_qs)).entryList(QDir::Files), before);
    QCOMPARE(QDir(data.path()).entryList(QDir::Files), QStringList());
    const QDir parent = QFileInfo(data.path()).dir();
    QVERIFY(!QFile::exists(parent.filePath(escapeName() + u".txt"_qs)));
    // Listing such a title is refused too, before the catalogue is touched.
    if (!title.isEmpty() && (!staysInWorksheetFolder(title) || reservedTitle(title))) {
        QVERIFY_THROWS_EXCEPTION(FileError, trackworksheets(s, title));
        QCOMPARE(data.read(kTrack), track);
    }
    QVERIFY(!fileChannel().isOpen());
}

void CatalogueTest::reservedTitles_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("reserved");
    for (const char *name : {"Rubbish", "resources", "TRACK", "Atmosphere", "Industry", "School", "Home",
                             "Waterways", "Forests", "Traffic", "Population", "Biodiversity", "Groups", "nul", "COM3"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
    for (const char *name : {"Rubbish bins", "My Resources", "track 2", "Trees", "Homes"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
}

void CatalogueTest::reservedTitles()
{
    QFETCH(QString, title);
    QFETCH(bool, reserved);
    QCOMPARE(reservedTitle(title), reserved);
}

void CatalogueTest::reservedListGrows()
{
    QVERIFY(!reservedTitle(u"Volcanoes"_qs));
    addTopicQuestionFile(u"multiple\\Volcanoes.txt"_qs);
    addTopicQuestionFile(u"multiple\\Volcanoes.txt"_qs);
    QVERIFY(reservedTitle(u"volcanoes"_qs));
    QCOMPARE(topicQuestionFiles().count(u"multiple\\Volcanoes.txt"_qs), 1);
    QVERIFY(topicQuestionFiles().contains(u"multiple\\Rubbish.txt"_qs));
}

QTEST_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
