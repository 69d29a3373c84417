// Screens registry, label buttons and picture controls.
#include "platform/filechannel.h"
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"
#include "testsupport.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace terravale;

namespace {
int loads = 0;

class Sample : public Screen {
public:
    Sample() : Screen(u"sample"_qs)
    {
        timer = new QTimer(this);
        timer->setInterval(1);
        connect(timer, &QTimer::timeout, this, [this] { ++ticks; });
    }
    void formLoad() override { ++loads; }
    QTimer *timer;
    int ticks = 0;
};
} // namespace

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void registryKeepsOneInstance();
    void unloadStopsTimers();
    void labelClicksOnlyOnReleaseInside();
    void missingIndexIsAnError();
    void pictureFormats_data();
    void pictureFormats();
    void missingPictureKeepsOldOne();
};

void ControlsTest::registryKeepsOneInstance()
{
    test::DataFolder data(false);
    loads = 0;
    Sample &first = form<Sample>();
    Sample &again = form<Sample>();
    QCOMPARE(&first, &again);
    QCOMPARE(loads, 1);
    unloadForm<Sample>();
    QVERIFY(!isLoaded<Sample>());
    form<Sample>();
    QCOMPARE(loads, 2);     // loaded anew
}

void ControlsTest::unloadStopsTimers()
{
    test::DataFolder data(false);
    Sample &sample = form<Sample>();
    QPointer<Sample> watch(&sample);
    sample.timer->start();
    QTRY_VERIFY(sample.ticks > 0);
    unloadForm<Sample>();
    QVERIFY(!sample.timer->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(watch.isNull());
}

void ControlsTest::labelClicksOnlyOnReleaseInside()
{
    test::DataFolder data(false);
    QWidget parent;
    parent.resize(300, 200);
    Label label(&parent, 7);
    label.setGeometry(10, 10, 100, 30);
    parent.show();
    QSignalSpy clicks(&label, &Label::clicked);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), 7);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(150, 5));   // released outside
    QCOMPARE(clicks.size(), 1);
    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.size(), 1);
}

void ControlsTest::missingIndexIsAnError()
{
    QWidget parent;
    LabelArray buttons;
    buttons.add(0, new Label(&parent, 0));
    buttons.add(2, new Label(&parent, 2));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, clearButtons(buttons, 0, 2));
    clearButtons(buttons, 2, 2);
    QVERIFY(!buttons(2).isOpaque());
}

void ControlsTest::pictureFormats_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    QTest::newRow("jpeg") << u"Images\\a.jpg"_qs << QByteArray("JPEG") << QSize(40, 30);
    QTest::newRow("bitmap") << u"logo/B.BMP"_qs << QByteArray("BMP") << QSize(40, 30);
    QTest::newRow("gif") << u"logo\\c.gif"_qs << QByteArray("GIF") << QSize(1, 1);
}

void ControlsTest::pictureFormats()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    test::DataFolder data(false);
    const QString stored = file.toLower().replace(u'\\', u'/');   // found again without regard to case
    QDir().mkpath(QFileInfo(stored).path());
    if (format == "GIF") {
        // Qt reads GIF but cannot write it: a one-pixel GIF by hand.
        data.write(stored, QByteArray::fromHex("47494638396101000100800000000000ffffff21f90401000000002c000000000100010000020144003b"));
    } else {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::green);
        QVERIFY(image.save(stored, format.constData()));
    }
    QWidget parent;
    Picture picture(&parent, Picture::Mode::AutoSize);
    picture.load(file);
    QCOMPARE(picture.picture()->sizePixels(), size);
    QCOMPARE(picture.size(), size);
}

void ControlsTest::missingPictureKeepsOldOne()
{
    test::DataFolder data(false);
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    QDir().mkpath(u"Images"_qs);
    image.save(u"Images/x.jpg"_qs, "JPEG");
    data.write(u"Images/broken.jpg"_qs, "not a picture");
    QWidget parent;
    Picture picture(&parent, Picture::Mode::Clip);
    picture.load(u"images\\x.jpg"_qs);
    QVERIFY_THROWS_EXCEPTION(FileError, picture.load(u"Images\\none.jpg"_qs));
    QVERIFY_THROWS_EXCEPTION(FileError, picture.load(u"Images\\broken.jpg"_qs));
    QVERIFY(picture.picture());
    QCOMPARE(picture.fileName(), u"images\\x.jpg"_qs);
}

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
