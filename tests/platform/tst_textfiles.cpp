// Field reading, the one file channel, Windows-1252 text and case-blind paths.
#include "platform/filechannel.h"
#include "platform/paths.h"
#include "platform/textcodec.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace terravale;

class TextFilesTest : public QObject {
    Q_OBJECT
private slots:
    void readsFields_data();
    void readsFields();
    void readsNumbers_data();
    void readsNumbers();
    void cp1252RoundTrip();
    void channelWritesCrLfAtomically();
    void channelRefusesUnencodableText();
    void channelHoldsOneFileAtATime();
    void failedWriteKeepsOldFile();
    void resolvesPathsWithoutCase_data();
    void resolvesPathsWithoutCase();
};

void TextFilesTest::readsFields_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("endsWithError");

    QTest::newRow("crlf lines") << QByteArray("one\r\ntwo\r\n") << QStringList{u"one"_qs, u"two"_qs} << true;
    QTest::newRow("lf lines") << QByteArray("one\ntwo\n") << QStringList{u"one"_qs, u"two"_qs} << true;
    QTest::newRow("no final line end") << QByteArray("one\r\ntwo") << QStringList{u"one"_qs, u"two"_qs} << true;
    QTest::newRow("leading blanks skipped") << QByteArray("   indented\r\n\tx\r\n") << QStringList{u"indented"_qs, u"x"_qs} << true;
    QTest::newRow("trailing blanks dropped") << QByteArray("word   \r\n") << QStringList{u"word"_qs} << true;
    QTest::newRow("blank line is an empty field") << QByteArray(" \r\n\r\nz\r\n") << QStringList{QString(), QString(), u"z"_qs} << true;
    QTest::newRow("comma splits a line") << QByteArray("a,b\r\nc\r\n") << QStringList{u"a"_qs, u"b"_qs, u"c"_qs} << true;
    QTest::newRow("quoted field keeps commas") << QByteArray("\"a, b\" tail\r\nnext\r\n") << QStringList{u"a, b"_qs, u"next"_qs} << true;
    QTest::newRow("quoted then comma") << QByteArray("\"q\",rest\r\n") << QStringList{u"q"_qs, u"rest"_qs} << true;
    QTest::newRow("cp1252 characters") << QByteArray("caf\xe9 \xa3" "5 \x92s\r\n") << QStringList{QStringLiteral("caf\u00e9 \u00a35 \u2019s")} << true;
    QTest::newRow("lone cr line ends") << QByteArray("a\rb\r") << QStringList{u"a"_qs, u"b"_qs} << true;
    QTest::newRow("empty file") << QByteArray() << QStringList{} << true;
}

void TextFilesTest::readsFields()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, fields);
    QFETCH(bool, endsWithError);
    FieldReader reader(bytes);
    for (const QString &expected : fields)
        QCOMPARE(reader.readField(), expected);
    if (endsWithError)
        QVERIFY_THROWS_EXCEPTION(FileError, reader.readField());
}

void TextFilesTest::readsNumbers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("valid");
    QTest::newRow("blanks around") << QByteArray(" 3 \r\n") << 3 << true;
    QTest::newRow("bare") << QByteArray("12\r\n") << 12 << true;
    QTest::newRow("thousand") << QByteArray(" 1000 \r\n") << 1000 << true;
    QTest::newRow("words") << QByteArray("three\r\n") << 0 << false;
    QTest::newRow("beyond 16 bits") << QByteArray("40000\r\n") << 0 << false;
    QTest::newRow("nothing") << QByteArray("") << 0 << false;
}

void TextFilesTest::readsNumbers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, value);
    QFETCH(bool, valid);
    FieldReader reader(bytes);
    if (valid)
        QCOMPARE(reader.readNumber(), value);
    else
        QVERIFY_THROWS_EXCEPTION(FileError, reader.readNumber());
}

void TextFilesTest::cp1252RoundTrip()
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    bool ok = false;
    QCOMPARE(encodeCp1252(decodeCp1252(all), &ok), all);
    QVERIFY(ok);
    QCOMPARE(firstUnencodable(QStringLiteral("ok \u20ac then \u0394")), QChar(0x0394));
    QVERIFY(firstUnencodable(QStringLiteral("\u00e9\u00a3\u2019")).isNull());
}

void TextFilesTest::channelWritesCrLfAtomically()
{
    test::DataFolder data(false);
    QDir().mkpath(u"multiple"_qs);
    FileChannel &file = fileChannel();
    file.openWrite(u"multiple\\out.txt"_qs);
    file.writeLine(u" 1 "_qs);
    file.writeLine(QStringLiteral("caf\u00e9"));
    QVERIFY(!QFile::exists(data.file(u"multiple/out.txt"_qs)));   // nothing lands before close
    file.close();
    QCOMPARE(data.read(u"multiple/out.txt"_qs), QByteArray(" 1 \r\ncaf\xe9\r\n"));
    QVERIFY(!file.isOpen());
    QCOMPARE(QDir(data.file(u"multiple"_qs)).entryList(QDir::Files), QStringList{u"out.txt"_qs});
}

void TextFilesTest::channelRefusesUnencodableText()
{
    test::DataFolder data(false);
    ChannelGuard guard;
    fileChannel().openWrite(u"x.txt"_qs);
    QVERIFY_THROWS_EXCEPTION(FileError, fileChannel().writeLine(QStringLiteral("snow \u2603")));
}

void TextFilesTest::channelHoldsOneFileAtATime()
{
    test::DataFolder data(false);
    data.write(u"a.txt"_qs, "a\r\n");
    {
        ChannelGuard guard;
        fileChannel().openRead(u"a.txt"_qs);
        QVERIFY_THROWS_EXCEPTION(FileError, fileChannel().openRead(u"a.txt"_qs));
    }
    QVERIFY(!fileChannel().isOpen());   // the guard closed it
    QVERIFY_THROWS_EXCEPTION(FileError, fileChannel().openRead(u"missing.txt"_qs));
    QVERIFY(!fileChannel().isOpen());
}

void TextFilesTest::failedWriteKeepsOldFile()
{
    test::DataFolder data(false);
    data.write(u"keep.txt"_qs, "old\r\n");
    try {
        ChannelGuard guard;
        fileChannel().openWrite(u"keep.txt"_qs);
        fileChannel().writeLine(u"new"_qs);
        throw FileError(u"interrupted"_qs);
    } catch (const FileError &) {
    }
    QCOMPARE(data.read(u"keep.txt"_qs), QByteArray("old\r\n"));
}

void TextFilesTest::resolvesPathsWithoutCase_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("resolved");
    QTest::newRow("backslash, other case") << u"images\\WALLSM.JPG"_qs << u"Images/wallsm.jpg"_qs;
    QTest::newRow("slash") << u"Images/wallsm.jpg"_qs << u"Images/wallsm.jpg"_qs;
    QTest::newRow("folder case only") << u"MULTIPLE\\track.txt"_qs << u"multiple/track.txt"_qs;
    QTest::newRow("new file keeps its spelling") << u"multiple/New Sheet.txt"_qs << u"multiple/New Sheet.txt"_qs;
    QTest::newRow("name with blanks") << u"wmf\\key rubbisha.WMF"_qs << u"wmf/key rubbisha.wmf"_qs;
}

void TextFilesTest::resolvesPathsWithoutCase()
{
    QFETCH(QString, asked);
    QFETCH(QString, resolved);
    test::DataFolder data(false);
    data.write(u"Images/wallsm.jpg"_qs, "x");
    data.write(u"multiple/track.txt"_qs, " 0 \r\n");
    data.write(u"wmf/key rubbisha.wmf"_qs, "x");
    QCOMPARE(resolvePath(asked), resolved);
}

QTEST_MAIN(TextFilesTest)
#include "tst_textfiles.moc"
