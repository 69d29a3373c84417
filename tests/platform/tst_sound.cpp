// The SDL2_mixer sound player on SDL's dummy device (played in real time, heard nowhere): every
// request starts a clip, missing files and missing devices are silence, and the device is closed
// when nothing has sounded for a while and opened again for the next clip.
#include "platform/sound.h"
#include "testsupport.h"

#include <QTest>

using namespace terravale;
using namespace std::chrono_literals;

namespace {
const QString kClick = u"wav\\click.wav"_qs;
const QString kFanfare = u"wav\\fanf2.wav"_qs;   // 2.3 s
constexpr int kWait = 10000;
} // namespace

class SoundTest : public QObject {
    Q_OBJECT
private slots:
    void init() { qputenv("SDL_AUDIODRIVER", "dummy"); }
    void requests_data();
    void requests();
    void preloadPlaysNothing();
    void idleDeviceClosesAndOpensAgain();
    void longClipKeepsTheDevice();
    void endsWhilePlaying();
};

void SoundTest::requests_data()
{
    QTest::addColumn<QByteArray>("driver");
    QTest::addColumn<QStringList>("clips");
    QTest::addColumn<int>("served");    // requests that reach the worker
    QTest::addColumn<int>("started");
    QTest::addColumn<int>("opened");

    QTest::newRow("one clip") << QByteArray("dummy") << QStringList{kClick} << 1 << 1 << 1;
    QTest::newRow("any case, either slash") << QByteArray("dummy") << QStringList{u"WAV/Click.WAV"_qs} << 1 << 1 << 1;
    QTest::newRow("missing file is silence") << QByteArray("dummy") << QStringList{u"wav\\nothere.wav"_qs} << 0 << 0 << 0;
    QTest::newRow("a folder is no clip") << QByteArray("dummy") << QStringList{u"wav"_qs} << 0 << 0 << 0;
    QTest::newRow("not a WAV file is silence") << QByteArray("dummy") << QStringList{u"multiple\\track.txt"_qs} << 1 << 0 << 1;
    QTest::newRow("no device is silence") << QByteArray("nosuchdriver") << QStringList{kClick, kClick} << 2 << 0 << 0;
    QTest::newRow("click and reward together") << QByteArray("dummy") << QStringList{kClick, kFanfare} << 2 << 2 << 1;
    // More at once than there are channels: the oldest gives way, none is dropped.
    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << (i % 5 ? kClick : kFanfare);
    QTest::newRow("forty at once") << QByteArray("dummy") << many << 40 << 40 << 1;
}

void SoundTest::requests()
{
    QFETCH(QByteArray, driver);
    QFETCH(QStringList, clips);
    QFETCH(int, served);
    QFETCH(int, started);
    QFETCH(int, opened);
    qputenv("SDL_AUDIODRIVER", driver);
    test::DataFolder data;
    MixerSoundPlayer player;
    for (const QString &clip : clips)
        player.play(clip);
    QTRY_COMPARE_WITH_TIMEOUT(player.counts().handled, served, kWait);
    const MixerSoundPlayer::Counts counts = player.counts();
    QCOMPARE(counts.started, started);
    QCOMPARE(counts.opened, opened);
    QCOMPARE(counts.deviceOpen, opened > 0);
}

void SoundTest::preloadPlaysNothing()
{
    test::DataFolder data;
    MixerSoundPlayer player;
    player.preload(kClick);
    QTRY_COMPARE_WITH_TIMEOUT(player.counts().handled, 1, kWait);
    QCOMPARE(player.counts().started, 0);
    player.play(kClick);
    QTRY_COMPARE_WITH_TIMEOUT(player.counts().started, 1, kWait);
    QCOMPARE(player.counts().opened, 1);
}

void SoundTest::idleDeviceClosesAndOpensAgain()
{
    test::DataFolder data;
    MixerSoundPlayer player(100ms);
    player.play(kClick);
    QTRY_COMPARE_WITH_TIMEOUT(player.counts().started, 1, kWait);
    QTRY_COMPARE_WITH_TIMEOUT(player.counts().closed, 1, kWait);
    QVERIFY(!player.counts().deviceOpen);
    // The clips loaded before are played again on the new opening.
    player.play(kClick);
    player.play(kClick);
    QTRY_COMPARE_WITH_TIMEOUT(player.counts().started, 3, kWait);
    QCOMPARE(player.counts().opened, 2);
    QTRY_COMPARE_WITH_TIMEOUT(player.counts().closed, 2, kWait);
}

void SoundTest::longClipKeepsTheDevice()
{
    test::DataFolder data;
    MixerSoundPlayer player(100ms);
    player.play(kFanfare);
    QTRY_COMPARE_WITH_TIMEOUT(player.counts().started, 1, kWait);
    QTest::qWait(1000);   // well past the idle time, well inside the fanfare
    QVERIFY(player.counts().deviceOpen);
    QCOMPARE(player.counts().closed, 0);
    QTRY_COMPARE_WITH_TIMEOUT(player.counts().closed, 1, kWait);
}

void SoundTest::endsWhilePlaying()
{
    test::DataFolder data;
    {
        MixerSoundPlayer player;
        player.play(kFanfare);
        QTRY_COMPARE_WITH_TIMEOUT(player.counts().started, 1, kWait);
    }
    // The device is free again for the next player.
    MixerSoundPlayer next;
    next.play(kClick);
    QTRY_COMPARE_WITH_TIMEOUT(next.counts().started, 1, kWait);
}

QTEST_MAIN(SoundTest)
#include "tst_sound.moc"
