// Screens registry, label buttons and picture controls.
#include "platform/filechannel.h"
#include "platform/fonts.h"
#include "platform/label.h"
#include "platform/optionstyle.h"
#include "platform/picture.h"
#include "platform/screen.h"
#include "quiz/multiple.h"
#include "shell/intro0.h"
#include "testsupport.h"

#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QRawFont>
#include <QStyleOptionButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace terravale;

namespace {
int loads = 0;

const QString kTahomaBold = u"/usr/share/wine/fonts/tahomabd.ttf"_qs;
const QString kTahoma = u"/usr/share/wine/fonts/tahoma.ttf"_qs;
const QString kHeavyBold = u"/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"_qs;

// Width of text laid out with the glyphs of one font file at the given pixel size.
qreal fileAdvance(const QString &file, int pixelSize, const QString &text)
{
    const QRawFont raw(file, pixelSize);
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    qreal width = 0;
    for (const QPointF &advance : raw.advancesForGlyphIndexes(glyphs))
        width += advance.x();
    return width;
}

double luminance(QColor c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(QColor a, QColor b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct IndicatorLook {
    int area = 0;     // pixels of the indicator's square
    int light = 0;    // pixels standing out 3:1 or more from the screen blue
    int yellow = 0;   // pixels of the chosen dot
};

// Looks at the indicator square of an option button as drawn on its screen.
IndicatorLook lookAt(QRadioButton &option, QWidget &screen)
{
    QStyleOptionButton opt;
    opt.initFrom(&option);
    const QRect square = option.style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, &option);
    const QImage image = screen.grab(QRect(option.mapTo(&screen, square.topLeft()), square.size())).toImage();
    const QColor blue(39, 63, 137);
    IndicatorLook look;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ++look.area;
            look.light += contrast(c, blue) >= 3.0 ? 1 : 0;
            look.yellow += c.red() > 200 && c.green() > 200 && c.blue() < 90 ? 1 : 0;
        }
    }
    return look;
}

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
    void buttonRowReportsItsIndexes_data();
    void buttonRowReportsItsIndexes();
    void pictureFormats_data();
    void pictureFormats();
    void missingPictureKeepsOldOne();
    void boldTahomaDrawsWithItsBoldFace_data();
    void boldTahomaDrawsWithItsBoldFace();
    void buttonsAndOptionsAreBold();
    void optionIndicatorGrowsWithTheFont();
    void quizChoiceIsSeenAtAGlance();
    void menuSoundOptionsBothShow();
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

void ControlsTest::buttonRowReportsItsIndexes_data()
{
    QTest::addColumn<bool>("light");
    QTest::newRow("lit by the pointer") << true;
    QTest::newRow("not lit") << false;
}

void ControlsTest::buttonRowReportsItsIndexes()
{
    QFETCH(bool, light);
    test::DataFolder data(false);
    QWidget parent;
    parent.resize(800, 600);
    LabelArray row;
    QList<int> clicked;
    addLabelButtons(&parent, row, {{3, 150, 150, 1500, 495, "Three"}, {5, 3000, 150, 1500, 495, nullptr}}, 15.75,
                    [&clicked](int index) { clicked << index; }, light ? Hover::Light : Hover::None);
    parent.show();
    QCOMPARE(row.items().size(), size_t(2));
    QCOMPARE(row(3).caption(), u"Three"_qs);
    QVERIFY(row(5).caption().isEmpty());
    QCOMPARE(row(5).geometry(), QRect(200, 10, 100, 33));
    QCOMPARE(row(3).foreColor(), QColor(255, 255, 0));
    QVERIFY(row(3).hasBorder());
    QTest::mouseClick(&row(5), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&row(3), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicked, (QList<int>{5, 3}));
    clearButtons(row, 3, 3);
    QTest::mouseMove(&row(3), QPoint(6, 6));
    QCOMPARE(row(3).isOpaque(), light);
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

void ControlsTest::boldTahomaDrawsWithItsBoldFace_data()
{
    QTest::addColumn<double>("points");
    for (double points : {8.25, 9.75, 12.0, 14.25, 15.75, 18.0, 24.0, 30.0, 36.0})
        QTest::addRow("%g pt", points) << points;
}

void ControlsTest::boldTahomaDrawsWithItsBoldFace()
{
    QFETCH(double, points);
    if (!QFile::exists(kTahomaBold) || !QFile::exists(kTahoma) || !QFile::exists(kHeavyBold))
        QSKIP("Wine's Tahoma or DejaVu Sans Condensed Bold is not installed");
    test::DataFolder data(false);
    const QString text = u"Multiple Choice Wizard"_qs;
    const QFont bold = designFont(u"Tahoma"_qs, points, true);
    const QFont regular = designFont(u"Tahoma"_qs, points, false);
    QCOMPARE(QFontInfo(regular).family(), u"Tahoma"_qs);
    QCOMPARE(QFontInfo(regular).styleName(), u"Regular"_qs);
    QVERIFY(QFontInfo(bold).bold());
    // Laid out within 2% of Tahoma Bold's own advances, so every designed caption still fits...
    const int px = bold.pixelSize();
    const qreal boldWidth = QFontMetricsF(bold).horizontalAdvance(text);
    const qreal tahomaBold = fileAdvance(kTahomaBold, px, text);
    QVERIFY2(qAbs(boldWidth - tahomaBold) <= 0.02 * tahomaBold,
             qPrintable(u"%1 against %2"_qs.arg(boldWidth).arg(tahomaBold)));
    QVERIFY(qAbs(QFontMetricsF(regular).horizontalAdvance(text) - fileAdvance(kTahoma, px, text)) <= 1.0);
    // ...and drawn with strokes a child sees as bold: clearly more ink than the regular face.
    auto ink = [](const QFont &font) {
        QImage image(QFontMetrics(font).horizontalAdvance(u"Illumination"_qs) + 8, QFontMetrics(font).height(),
                     QImage::Format_Grayscale8);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignVCenter, u"Illumination"_qs);
        painter.end();
        double sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += 255 - qGray(image.pixel(x, y));
        return sum;
    };
    QVERIFY2(ink(bold) > 1.3 * ink(regular), qPrintable(u"%1 against %2"_qs.arg(ink(bold)).arg(ink(regular))));
}

void ControlsTest::buttonsAndOptionsAreBold()
{
    if (!QFile::exists(kTahomaBold))
        QSKIP("Wine's Tahoma is not installed");
    test::DataFolder data;
    intro0 &menu = form<intro0>();
    for (const QWidget *widget : std::initializer_list<const QWidget *>{&menu.Label2(6), &menu.Label2(17), menu.Label1,
                                                                        menu.Option1, menu.Option2})
        QVERIFY(QFontInfo(widget->font()).bold());
}

void ControlsTest::optionIndicatorGrowsWithTheFont()
{
    test::DataFolder data(false);
    QWidget parent;
    QRadioButton small(u"Sound Off"_qs, &parent);
    small.setFont(designFont(u"Tahoma"_qs, 9.75, true));
    QRadioButton large(u"A glass bottle"_qs, &parent);
    large.setFont(designFont(u"Times New Roman"_qs, 20.25));
    const int before = large.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &large);
    styleOption(&small);
    styleOption(&large);
    const int smallSide = small.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &small);
    const int largeSide = large.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &large);
    QCOMPARE(largeSide, optionIndicatorSize(QFontMetrics(large.font()).height()));
    QVERIFY2(largeSide >= 22 && largeSide > before, qPrintable(QString::number(largeSide)));
    QVERIFY(smallSide >= 14 && smallSide < largeSide);
    QCOMPARE(large.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, &large), largeSide);
}

void ControlsTest::quizChoiceIsSeenAtAGlance()
{
    test::DataFolder data;
    multiple &quiz = form<multiple>();
    quiz.show();
    QVERIFY(QTest::qWaitForWindowExposed(&quiz));
    quiz.Option1(2).setText(u"A glass bottle"_qs);
    quiz.Option1(2).setChecked(true);
    const IndicatorLook chosen = lookAt(quiz.Option1(2), quiz);
    const IndicatorLook other = lookAt(quiz.Option1(3), quiz);
    QVERIFY2(chosen.area >= 20 * 20, qPrintable(QString::number(chosen.area)));
    // A big yellow dot in the chosen one, none in the others, and a ring a child can see around each.
    QVERIFY2(chosen.yellow * 4 >= chosen.area, qPrintable(u"%1 of %2"_qs.arg(chosen.yellow).arg(chosen.area)));
    QCOMPARE(other.yellow, 0);
    QVERIFY2(other.light * 6 >= other.area, qPrintable(u"%1 of %2"_qs.arg(other.light).arg(other.area)));
}

void ControlsTest::menuSoundOptionsBothShow()
{
    test::DataFolder data;
    intro0 &menu = form<intro0>();
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QVERIFY(menu.Option1->isChecked());
    const IndicatorLook on = lookAt(*menu.Option1, menu);
    const IndicatorLook off = lookAt(*menu.Option2, menu);
    QVERIFY2(off.light * 6 >= off.area, qPrintable(u"%1 of %2"_qs.arg(off.light).arg(off.area)));
    QVERIFY2(on.yellow * 5 >= on.area, qPrintable(u"%1 of %2"_qs.arg(on.yellow).arg(on.area)));
    QCOMPARE(off.yellow, 0);
}

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
