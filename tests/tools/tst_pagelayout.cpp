// Reading pages: parsing the page texts, laying them out so that all text fits, and the page and
// logo files the generator makes from them.
#include "pagemaker/wmfwriter.h"
#include "platform/wmf.h"
#include "pagemaker/pagelayout.h"
#include "rules/topictable.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

using namespace terravale;

namespace {

using Kinds = QList<int>;

QDir contentPages()
{
    return QDir(test::sourceDir() + u"/content/pages"_qs);
}

PageSource shippedPage(const QString &name)
{
    QFile file(contentPages().filePath(name + u".txt"_qs));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing page text %s", qPrintable(name));
    return parsePageSource(name, QString::fromUtf8(file.readAll()));
}

QStringList shippedNames()
{
    QStringList names;
    for (const QString &file : contentPages().entryList({u"*.txt"_qs}, QDir::Files, QDir::Name))
        names << QFileInfo(file).completeBaseName();
    return names;
}

QString versionName(PageVersion v)
{
    return v == PageVersion::Screen ? u"screen"_qs : u"print"_qs;
}

// Text of the given size made of numbered sentences.
QString manyWords(int sentences)
{
    QString text = u"# A Long Page\n\n"_qs;
    for (int i = 0; i < sentences; ++i)
        text += u"Sentence number %1 tells the reader something about rubbish and recycling. "_qs.arg(i);
    return text;
}

} // namespace

class PageLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::DataFolder folder(false); }   // fonts registered
    void parse_data();
    void parse();
    void shippedPagesFit_data();
    void shippedPagesFit();
    void shrinksRatherThanCuts_data();
    void shrinksRatherThanCuts();
    void listsAreIndentedWithBullets();
    void missingArtLeavesItsPlaceEmpty();
    void metafileMatchesDirectDrawing_data();
    void metafileMatchesDirectDrawing();
    void generatedPages_data();
    void generatedPages();
    void logoFrames();
};

void PageLayoutTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<Kinds>("kinds");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("picture");
    QTest::newRow("heading only") << u"# Title\n"_qs << u"Title"_qs << Kinds{} << QStringList{} << QString();
    QTest::newRow("paragraph over two lines is joined")
        << u"# T\n\nOne line\nand the next.\n\nSecond."_qs << u"T"_qs << Kinds{PageBlock::Paragraph, PageBlock::Paragraph}
        << QStringList{u"One line and the next."_qs, u"Second."_qs} << QString();
    QTest::newRow("subheading and list")
        << u"# T\n## Sub\n- one\n- two\nAfter."_qs << u"T"_qs
        << Kinds{PageBlock::Subheading, PageBlock::ListItem, PageBlock::ListItem, PageBlock::Paragraph}
        << QStringList{u"Sub"_qs, u"one"_qs, u"two"_qs, u"After."_qs} << QString();
    QTest::newRow("notes are not text, picture mark is kept")
        << u"# T\n\nText.\n\n[picture: art one.svg]\n% picture: a bin lorry\n% more notes"_qs << u"T"_qs
        << Kinds{PageBlock::Paragraph} << QStringList{u"Text."_qs} << u"art one.svg"_qs;
    QTest::newRow("CR LF line ends") << u"# T\r\n\r\n- a\r\n## S\r\n"_qs << u"T"_qs
                                     << Kinds{PageBlock::ListItem, PageBlock::Subheading} << QStringList{u"a"_qs, u"S"_qs}
                                     << QString();
}

void PageLayoutTest::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, heading);
    QFETCH(Kinds, kinds);
    QFETCH(QStringList, texts);
    QFETCH(QString, picture);
    const PageSource page = parsePageSource(u"p"_qs, text);
    QCOMPARE(page.heading, heading);
    Kinds gotKinds;
    QStringList gotTexts;
    for (const PageBlock &block : page.blocks) {
        gotKinds << block.kind;
        gotTexts << block.text;
    }
    QCOMPARE(gotKinds, kinds);
    QCOMPARE(gotTexts, texts);
    QCOMPARE(page.picture, picture);
}

void PageLayoutTest::shippedPagesFit_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<PageVersion>("version");
    const QStringList names = shippedNames();
    // Exactly the pages something opens: the guide, the acknowledgments and every topic's page sets.
    QStringList expected{u"acknowledgments"_qs};
    for (int page = 1; page <= 5; ++page)
        expected << u"guide%1"_qs.arg(page);
    for (const TopicDef &topic : topicTable()) {
        for (const PageSetDef *set : {&topic.keyFacts, &topic.notes}) {
            if (!set->firstPage.isEmpty()) {
                expected << set->firstPage;
                continue;
            }
            for (int page = 0; page < set->pages; ++page)
                expected << set->prefix + QChar(u'a' + page);
        }
    }
    expected.sort();
    QCOMPARE(names, expected);
    for (const QString &name : names)
        for (PageVersion v : {PageVersion::Screen, PageVersion::Print})
            QTest::addRow("%s %s", qPrintable(name), qPrintable(versionName(v))) << name << v;
}

void PageLayoutTest::shippedPagesFit()
{
    QFETCH(QString, name);
    QFETCH(PageVersion, version);
    const PageSource page = shippedPage(name);
    QVERIFY(!page.heading.isEmpty());
    const bool keyFacts = name.startsWith(u"key "_qs);
    QCOMPARE(!page.picture.isEmpty(), keyFacts);   // only Key Facts pages have pictures

    const PageLayout layout = layoutPage(page, version);
    QVERIFY(layout.fits);
    if (version == PageVersion::Print) {
        QVERIFY(layout.size.width() <= 9900 && layout.size.height() <= 14800);   // A4 at 1000, 1000
        QVERIFY(layout.bodyPoints >= 11);
    } else {
        QVERIFY(layout.size.width() + 120 <= 12000 && layout.size.height() <= 7920);   // above the buttons
        QVERIFY(layout.bodyPoints >= (keyFacts ? 13.5 : 12));                        // readable by a child
    }
    const QRectF pageRect(QPointF(0, 0), layout.size);
    const auto clear = pageKeepClear(page, version);
    QString allText;
    for (size_t i = 0; i < layout.lines.size(); ++i) {
        const PageLine &line = layout.lines[i];
        allText += line.text + u' ';
        QVERIFY2(pageRect.contains(line.box), qPrintable(line.text));
        QVERIFY2(!line.box.intersects(layout.pictureArea), qPrintable(line.text));
        for (const QRectF &area : clear)
            QVERIFY2(!line.box.intersects(area), qPrintable(line.text));
        for (size_t j = i + 1; j < layout.lines.size(); ++j)
            QVERIFY2(!line.box.intersects(layout.lines[j].box), qPrintable(line.text + u" / "_qs + layout.lines[j].text));
    }
    // Every word of the page is on it, in order.
    QStringList words = page.heading.split(u' ', Qt::SkipEmptyParts);
    for (const PageBlock &block : page.blocks)
        words += block.text.split(u' ', Qt::SkipEmptyParts);
    QCOMPARE(allText.simplified(), words.join(u' '));
}

void PageLayoutTest::shrinksRatherThanCuts_data()
{
    QTest::addColumn<int>("sentences");
    QTest::addColumn<bool>("shrinks");
    QTest::addColumn<bool>("fits");
    QTest::newRow("short") << 3 << false << true;
    QTest::newRow("twice a page") << 30 << true << true;
    QTest::newRow("far too much") << 400 << true << false;
}

void PageLayoutTest::shrinksRatherThanCuts()
{
    QFETCH(int, sentences);
    QFETCH(bool, shrinks);
    QFETCH(bool, fits);
    const PageSource page = parsePageSource(u"guide9"_qs, manyWords(sentences));
    const PageLayout normal = layoutPage(parsePageSource(u"guide9"_qs, manyWords(1)), PageVersion::Screen);
    const PageLayout layout = layoutPage(page, PageVersion::Screen);
    QCOMPARE(layout.bodyPoints < normal.bodyPoints, shrinks);
    QCOMPARE(layout.fits, fits);
    // Nothing is dropped, even when it does not fit.
    QString all;
    for (const PageLine &line : layout.lines)
        all += line.text + u' ';
    QVERIFY(all.contains(u"Sentence number %1 "_qs.arg(sentences - 1)));
}

void PageLayoutTest::listsAreIndentedWithBullets()
{
    const PageSource page = parsePageSource(
        u"key test"_qs, u"# Heading\n\nA paragraph.\n\n- first item\n- second item that is long enough to wrap onto a second line "
                        u"of the page because it goes on and on and on and on and on\n## Sub\nEnd."_qs);
    const PageLayout layout = layoutPage(page, PageVersion::Screen);
    QCOMPARE(layout.bullets.size(), size_t(2));
    const auto lineOf = [&](const QString &start) {
        return *std::find_if(layout.lines.begin(), layout.lines.end(), [&](const PageLine &l) { return l.text.startsWith(start); });
    };
    const PageLine para = lineOf(u"A paragraph"_qs);
    const PageLine item = lineOf(u"first item"_qs);
    QVERIFY(item.box.left() > para.box.left());
    QVERIFY(layout.bullets[0].right() < item.box.left());
    QVERIFY(layout.bullets[0].left() >= para.box.left());
    QVERIFY(layout.bullets[0].center().y() > item.box.top() && layout.bullets[0].center().y() < item.baseline.y());
    // A wrapped item continues at the item's indent; the subheading is larger and bold.
    int itemLines = 0;
    for (const PageLine &l : layout.lines)
        if (qFuzzyCompare(l.box.left(), item.box.left()))
            ++itemLines;
    QVERIFY(itemLines >= 3);
    const PageLine sub = lineOf(u"Sub"_qs);
    QVERIFY(sub.font.bold && sub.font.points > item.font.points);
    QVERIFY(lineOf(u"Heading"_qs).font.points > sub.font.points);
}

void PageLayoutTest::missingArtLeavesItsPlaceEmpty()
{
    const PageSource page = shippedPage(u"key rubbisha"_qs);
    const PageLayout layout = layoutPage(page, PageVersion::Screen);
    QVERIFY(!layout.pictureArea.isEmpty());
    QImage image((layout.size / 15).toSize(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.scale(1 / 15.0, 1 / 15.0);
    paintPage(painter, layout, nullptr);
    painter.end();
    // The picture's place shows only the card's colour; the text beside it is drawn.
    const QRect place = QRectF(layout.pictureArea.topLeft() / 15, layout.pictureArea.size() / 15).toRect().adjusted(2, 2, -2, -2);
    const QRgb card = image.pixel(place.center());
    for (int y = place.top(); y <= place.bottom(); y += 3)
        for (int x = place.left(); x <= place.right(); x += 3)
            QCOMPARE(image.pixel(x, y), card);
    const QRect text = QRectF(layout.textArea.topLeft() / 15, layout.textArea.size() / 15).toRect();
    int dark = 0;
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    QVERIFY(dark > 500);
}

void PageLayoutTest::metafileMatchesDirectDrawing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<PageVersion>("version");
    QTest::newRow("key facts with picture, screen") << u"key rubbisha"_qs << PageVersion::Screen;
    QTest::newRow("key facts with picture, print") << u"key resourcesb"_qs << PageVersion::Print;
    QTest::newRow("notes with lists, screen") << u"rubbishb"_qs << PageVersion::Screen;
}

// The page drawn straight onto a picture and the page written as a metafile and played back
// agree: under 1% of the pixels differ by more than 64 in a colour channel (glyph and curve
// edges may be rasterised a little differently).
void PageLayoutTest::metafileMatchesDirectDrawing()
{
    QFETCH(QString, name);
    QFETCH(PageVersion, version);
    const PageSource page = shippedPage(name);
    QSvgRenderer art(contentPages().filePath(u"art/"_qs + page.picture));
    QSvgRenderer *artwork = page.picture.isEmpty() || !art.isValid() ? nullptr : &art;
    const double aspect = artwork ? art.viewBoxF().width() / art.viewBoxF().height() : 0.75;
    const PageLayout layout = layoutPage(page, version, aspect);
    const QSize pixels = (layout.size / 15).toSize();

    QImage direct(pixels, QImage::Format_RGB32);
    direct.fill(Qt::white);
    QPainter painter(&direct);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(1 / 15.0, 1 / 15.0);
    paintPage(painter, layout, artwork);
    painter.end();

    const QByteArray wmf = paintToWmf(layout.size.toSize(), [&](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        paintPage(p, layout, artwork);
    });
    const PictureHandle played = readWmf(wmf);
    QVERIFY(played);
    QCOMPARE(played->sizePixels(), pixels);
    QImage back(pixels, QImage::Format_RGB32);
    back.fill(Qt::white);
    painter.begin(&back);
    played->paint(painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();

    int differing = 0;
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x) {
            const QRgb a = direct.pixel(x, y), b = back.pixel(x, y);
            differing += qAbs(qRed(a) - qRed(b)) > 64 || qAbs(qGreen(a) - qGreen(b)) > 64 || qAbs(qBlue(a) - qBlue(b)) > 64;
        }
    const double share = double(differing) / (pixels.width() * pixels.height());
    if (share >= 0.01) {
        direct.save(QDir::temp().filePath(name + u"-direct.png"_qs));
        back.save(QDir::temp().filePath(name + u"-played.png"_qs));
    }
    QVERIFY2(share < 0.01, qPrintable(u"%1% of pixels differ"_qs.arg(share * 100, 0, 'f', 2)));
    qInfo("%s: %.2f%% of pixels differ", qPrintable(name), share * 100);
}

void PageLayoutTest::generatedPages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<PageVersion>("version");
    for (const QString &name : shippedNames())
        for (PageVersion v : {PageVersion::Screen, PageVersion::Print})
            QTest::addRow("%s %s", qPrintable(name), qPrintable(versionName(v))) << name << v;
}

void PageLayoutTest::generatedPages()
{
    QFETCH(QString, name);
    QFETCH(PageVersion, version);
    QFile file(test::generatedData() + (version == PageVersion::Screen ? u"/wmf/"_qs : u"/wmf2/"_qs) + name + u".wmf"_qs);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const PictureHandle picture = readWmf(file.readAll());
    QVERIFY(picture);
    const QSizeF intended = pageSize(shippedPage(name), version);
    QVERIFY2(qAbs(picture->sizeTwips().width() - intended.width()) <= 15
                 && qAbs(picture->sizeTwips().height() - intended.height()) <= 15,
             qPrintable(u"%1 x %2"_qs.arg(picture->sizeTwips().width()).arg(picture->sizeTwips().height())));
    // It plays: the page is not blank.
    QImage image(picture->sizePixels(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture->paint(painter, QRectF(QPointF(0, 0), QSizeF(picture->sizePixels())));
    painter.end();
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 128;
    QVERIFY(dark > 200);
}

void PageLayoutTest::logoFrames()
{
    const QDir logo(test::generatedData() + u"/logo"_qs);
    const QImage still(logo.filePath(u"quillmark2.bmp"_qs));
    QCOMPARE(still.size(), QSize(120, 89));
    QList<QImage> frames;
    for (int i = 0; i < 20; ++i) {
        QImageReader reader(logo.filePath(u"quil%1.gif"_qs.arg(i, 4, 10, QLatin1Char('0'))));
        QCOMPARE(reader.format(), QByteArray("gif"));
        const QImage frame = reader.read().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(frame.size(), QSize(120, 120));
        QCOMPARE(QColor(frame.pixel(0, 0)), QColor(49, 135, 214));   // the picture box's blue
        frames << frame;
    }
    // Every step changes the picture by a similar amount, the step from the last frame back
    // to the first included, so the loop has no jump.
    QList<int> changed;
    for (int i = 0; i < 20; ++i) {
        const QImage &a = frames[i];
        const QImage &b = frames[(i + 1) % 20];
        int n = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 120; ++x)
                n += a.pixel(x, y) != b.pixel(x, y);
        changed << n;
    }
    const int least = *std::min_element(changed.begin(), changed.end());
    const int most = *std::max_element(changed.begin(), changed.end());
    QVERIFY(least > 100);
    QVERIFY2(most < least * 3, qPrintable(u"%1 .. %2"_qs.arg(least).arg(most)));
}

QTEST_MAIN(PageLayoutTest)
#include "tst_pagelayout.moc"
