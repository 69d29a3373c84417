// The Resources island map as the build renders it: each target box lies on what its label names,
// and the yellow heading and instructions read clearly over the picture.
#include "rules/activitydef.h"
#include "rules/topictable.h"
#include "testsupport.h"

#include <QImage>
#include <QTest>

#include <cmath>
#include <functional>

using namespace terravale;

namespace {
using Rule = std::function<bool(QColor)>;

// Picture pixels under a rectangle of the screen, through the picture's frame.
QRect inPicture(const QImage &image, const TwRect &frame, const TwRect &r)
{
    const double sx = image.width() / double(frame.width);
    const double sy = image.height() / double(frame.height);
    return QRect(int(std::lround((r.left - frame.left) * sx)), int(std::lround((r.top - frame.top) * sy)),
                 int(std::lround(r.width * sx)), int(std::lround(r.height * sy)));
}

// Percentage of the rectangle's pixels the rule accepts.
double share(const QImage &image, const QRect &rect, const Rule &rule)
{
    int hits = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            hits += rule(image.pixelColor(x, y)) ? 1 : 0;
    }
    return 100.0 * hits / (rect.width() * rect.height());
}

double luminance(QColor c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

const Rule kWater = [](QColor c) { return c.blue() >= 180 && c.blue() > c.red() + 60; };
const Rule kBarrier = [](QColor c) {
    return qAbs(c.red() - c.green()) < 16 && qAbs(c.green() - c.blue()) < 16 && c.red() >= 170 && c.red() <= 210;
};
const Rule kBreaker = [](QColor c) { return c.red() < 80 && c.green() >= 90 && c.green() <= 145 && c.blue() > 165; };
const Rule kHill = [](QColor c) { return c.red() < 128 && c.green() > c.red() + 50 && c.green() > c.blue() + 80; };
const Rule kDesert = [](QColor c) {
    return c.red() > 220 && c.green() > 180 && c.green() < 230 && c.blue() > 90 && c.blue() < 150;
};

QImage islandMap()
{
    return QImage(test::generatedData() + u"/Images/energy.jpg"_qs);
}
} // namespace

Q_DECLARE_METATYPE(Rule)

class IslandMapTest : public QObject {
    Q_OBJECT
private slots:
    void boxesLieOnWhatTheyName_data();
    void boxesLieOnWhatTheyName();
    void textsReadOverThePicture_data();
    void textsReadOverThePicture();
};

void IslandMapTest::boxesLieOnWhatTheyName_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<Rule>("feature");
    QTest::addColumn<double>("atLeast");   // per cent of the box
    QTest::newRow("solar: desert") << 0 << kDesert << 80.0;
    QTest::newRow("tidal: harbour water") << 1 << kWater << 30.0;
    QTest::newRow("tidal: the barrier") << 1 << kBarrier << 1.0;
    QTest::newRow("water: the river") << 2 << kWater << 3.0;
    QTest::newRow("wave: sea") << 3 << kWater << 60.0;
    QTest::newRow("wave: breaking waves") << 3 << kBreaker << 5.0;
    QTest::newRow("wind: hills") << 4 << kHill << 20.0;
}

void IslandMapTest::boxesLieOnWhatTheyName()
{
    QFETCH(int, item);
    QFETCH(Rule, feature);
    QFETCH(double, atLeast);
    const ActivityDef &def = activityDef(u"resourceslab"_qs);
    const QImage image = islandMap();
    QVERIFY(!image.isNull());
    const TwRect &frame = def.pictures.at(0).frame;
    const ActivityItemDef &it = def.items.at(item);
    const QRect box = inPicture(image, frame, {it.boxLeft, it.boxTop, def.itemWidth, def.itemHeight});
    QVERIFY(image.rect().contains(box));
    const double found = share(image, box, feature);
    QVERIFY2(found >= atLeast, qPrintable(u"%1 per cent of the box"_qs.arg(found, 0, 'f', 1)));
}

void IslandMapTest::textsReadOverThePicture_data()
{
    QTest::addColumn<int>("control");
    QTest::newRow("heading") << int(StaticTextDef::Label6);
    QTest::newRow("instructions") << int(StaticTextDef::Label7);
}

void IslandMapTest::textsReadOverThePicture()
{
    // Every pixel behind the yellow text stands 4.5:1 or more from it.
    QFETCH(int, control);
    const ActivityDef &def = activityDef(u"resourceslab"_qs);
    const QImage image = islandMap();
    const TwRect &frame = def.pictures.at(0).frame;
    const auto text = std::find_if(def.texts.begin(), def.texts.end(),
                                   [control](const StaticTextDef &t) { return int(t.control) == control; });
    QVERIFY(text != def.texts.end());
    const QRect rect = inPicture(image, frame, text->rect) & image.rect();
    const double yellow = luminance(text->color);
    double worst = 100;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            worst = std::min(worst, (yellow + 0.05) / (luminance(image.pixelColor(x, y)) + 0.05));
    }
    QVERIFY2(worst >= 4.5, qPrintable(u"contrast %1:1"_qs.arg(worst, 0, 'f', 2)));
}

QTEST_MAIN(IslandMapTest)
#include "tst_islandmap.moc"
