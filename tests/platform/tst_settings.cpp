// Per-user settings: typed reads of whatever text is stored, the setters' range, and the real
// file under a temporary XDG_CONFIG_HOME, including files that cannot be read or written.
#include "memorysettings.h"
#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace terravale;
using terravale::test::MemorySettings;

namespace {
const QString kScale = QStringLiteral("display/scale");
const QString kAnswerKey = QStringLiteral("print/answerKey");
constexpr double kFallback = 1.25;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(bytes), bytes.size());
}
} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void typedReads_data();
    void typedReads();
    void setScale_data();
    void setScale();
    void answerKeyRoundTrip();
    void userFileFollowsXdg();
    void handWrittenFile_data();
    void handWrittenFile();
    void unknownKeysSurviveAWrite();
    void unusableFile_data();
    void unusableFile();
    void noFileKeepsValuesInMemory();

private:
    std::unique_ptr<QTemporaryDir> m_config;
    QByteArray m_oldXdg;
    QString confFile() const { return m_config->filePath(QStringLiteral("terravale/terravale.conf")); }
};

void SettingsTest::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    m_config = std::make_unique<QTemporaryDir>();
    QVERIFY(m_config->isValid());
    m_oldXdg = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config->path()));
}

void SettingsTest::cleanup()
{
    setSettings(nullptr);
    qputenv("XDG_CONFIG_HOME", m_oldXdg);
    m_config.reset();
}

void SettingsTest::typedReads_data()
{
    QTest::addColumn<QString>("scaleText");   // null: not stored
    QTest::addColumn<QString>("answerKeyText");
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("answerKey");

    const QString none;
    QTest::newRow("nothing stored") << none << none << kFallback << true;
    QTest::newRow("plain values") << u"1.5"_qs << u"false"_qs << 1.5 << false;
    QTest::newRow("spaces and capitals") << u" 2 "_qs << u" No "_qs << 2.0 << false;
    QTest::newRow("smallest") << u"0.5"_qs << u"0"_qs << 0.5 << false;
    QTest::newRow("largest") << u"4"_qs << u"OFF"_qs << 4.0 << false;
    QTest::newRow("below range") << u"0.49"_qs << u"true"_qs << kFallback << true;
    QTest::newRow("zero") << u"0"_qs << u"1"_qs << kFallback << true;
    QTest::newRow("negative") << u"-1.5"_qs << u"yes"_qs << kFallback << true;
    QTest::newRow("above range") << u"4.01"_qs << u""_qs << kFallback << true;
    QTest::newRow("not a number") << u"nan"_qs << u"maybe"_qs << kFallback << true;
    QTest::newRow("infinite") << u"inf"_qs << u"nope"_qs << kFallback << true;
    QTest::newRow("comma decimal") << u"1,5"_qs << u"falsey"_qs << kFallback << true;
    QTest::newRow("words") << u"large"_qs << u"no thanks"_qs << kFallback << true;
    QTest::newRow("empty") << u""_qs << u"  "_qs << kFallback << true;
}

void SettingsTest::typedReads()
{
    QFETCH(QString, scaleText);
    QFETCH(QString, answerKeyText);
    QFETCH(double, scale);
    QFETCH(bool, answerKey);
    MemorySettings settings;
    if (!scaleText.isNull())
        settings.values.insert(kScale, scaleText);
    if (!answerKeyText.isNull())
        settings.values.insert(kAnswerKey, answerKeyText);
    QCOMPARE(settings.scale(kFallback), scale);
    QCOMPARE(settings.printAnswerKey(), answerKey);
}

void SettingsTest::setScale_data()
{
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("readBack");   // stored beforehand: 2

    QTest::newRow("ordinary") << 1.5 << 1.5;
    QTest::newRow("smallest") << 0.5 << 0.5;
    QTest::newRow("largest") << 4.0 << 4.0;
    QTest::newRow("many digits kept exactly") << 1.2345678901234567 << 1.2345678901234567;
    QTest::newRow("too small is not stored") << 0.25 << 2.0;
    QTest::newRow("too large is not stored") << 12.0 << 2.0;
    QTest::newRow("negative is not stored") << -1.0 << 2.0;
    QTest::newRow("NaN is not stored") << kNaN << 2.0;
    QTest::newRow("infinity is not stored") << kInf << 2.0;
}

void SettingsTest::setScale()
{
    QFETCH(double, factor);
    QFETCH(double, readBack);
    MemorySettings settings;
    settings.setScale(2.0);
    settings.setScale(factor);
    QCOMPARE(settings.scale(kFallback), readBack);
}

void SettingsTest::answerKeyRoundTrip()
{
    MemorySettings settings;
    settings.setPrintAnswerKey(false);
    QVERIFY(!settings.printAnswerKey());
    settings.setPrintAnswerKey(true);
    QVERIFY(settings.printAnswerKey());
}

void SettingsTest::userFileFollowsXdg()
{
    QCOMPARE(FileSettings::defaultFile(), confFile());
    QVERIFY(!QFile::exists(confFile()));   // reading creates nothing
    QCOMPARE(settings().scale(kFallback), kFallback);
    QVERIFY(!QFile::exists(confFile()));

    settings().setScale(1.5);
    settings().setPrintAnswerKey(false);
    QFile file(confFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY2(text.contains("[display]") && text.contains("scale=1.5"), text.constData());
    QVERIFY2(text.contains("[print]") && text.contains("answerKey=false"), text.constData());

    // A later run reads them back.
    FileSettings next;
    QCOMPARE(next.scale(kFallback), 1.5);
    QVERIFY(!next.printAnswerKey());
}

void SettingsTest::handWrittenFile_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("answerKey");

    QTest::newRow("both set") << QByteArray("[display]\nscale=1.75\n[print]\nanswerKey=false\n") << 1.75 << false;
    QTest::newRow("CR LF lines") << QByteArray("[display]\r\nscale=2.5\r\n[print]\r\nanswerKey=0\r\n") << 2.5 << false;
    QTest::newRow("quoted") << QByteArray("[display]\nscale=\"3\"\n") << 3.0 << true;
    QTest::newRow("comma decimal") << QByteArray("[display]\nscale=1,5\n") << kFallback << true;
    QTest::newRow("scale out of range") << QByteArray("[display]\nscale=40\n") << kFallback << true;
    QTest::newRow("keys in the wrong group") << QByteArray("[print]\nscale=2\n[display]\nanswerKey=false\n") << kFallback << true;
    QTest::newRow("empty file") << QByteArray() << kFallback << true;
    QTest::newRow("binary junk") << QByteArray("\x00\xff\xfe[\x01=\n\x80\x81", 11) << kFallback << true;
    QTest::newRow("no group header") << QByteArray("scale=2\nanswerKey=false\n") << kFallback << true;
}

void SettingsTest::handWrittenFile()
{
    QFETCH(QByteArray, contents);
    QFETCH(double, scale);
    QFETCH(bool, answerKey);
    writeFile(confFile(), contents);
    FileSettings settings;
    QCOMPARE(settings.scale(kFallback), scale);
    QCOMPARE(settings.printAnswerKey(), answerKey);
}

void SettingsTest::unknownKeysSurviveAWrite()
{
    writeFile(confFile(), "[display]\nscale=2\n[later]\nchoice=kept\n");
    FileSettings settings;
    settings.setPrintAnswerKey(false);
    FileSettings next;
    QCOMPARE(next.value(QStringLiteral("later/choice")), u"kept"_qs);
    QCOMPARE(next.scale(kFallback), 2.0);
    QVERIFY(!next.printAnswerKey());
}

void SettingsTest::unusableFile_data()
{
    QTest::addColumn<QString>("blocker");   // made a folder (trailing slash) or a file
    QTest::newRow("settings file is a folder") << u"terravale/terravale.conf/"_qs;
    QTest::newRow("settings folder is a file") << u"terravale"_qs;
}

void SettingsTest::unusableFile()
{
    QFETCH(QString, blocker);
    if (blocker.endsWith(u'/'))
        QVERIFY(QDir().mkpath(m_config->filePath(blocker)));
    else
        writeFile(m_config->filePath(blocker), "not a folder\n");

    FileSettings settings;
    QCOMPARE(settings.scale(kFallback), kFallback);
    QVERIFY(settings.printAnswerKey());
    settings.setScale(3.0);
    settings.setPrintAnswerKey(false);
    // Kept for this run; the blocker is left as it was.
    QCOMPARE(settings.scale(kFallback), 3.0);
    QVERIFY(!settings.printAnswerKey());
    const QFileInfo after(m_config->filePath(blocker));
    if (blocker.endsWith(u'/')) {
        QVERIFY(after.isDir());
        QVERIFY(QDir(after.filePath()).isEmpty());
    } else {
        QFile file(after.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("not a folder\n"));
    }
}

void SettingsTest::noFileKeepsValuesInMemory()
{
    FileSettings settings{QString()};
    QVERIFY(settings.file().isEmpty());
    QCOMPARE(settings.scale(kFallback), kFallback);
    settings.setScale(0.75);
    QCOMPARE(settings.scale(kFallback), 0.75);
    QVERIFY(QDir(m_config->path()).isEmpty());
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
