#include "pagelayout.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace terravale {

namespace {

constexpr double kTwipsPerInch = 1440.0;

// Text is measured at 1440 dpi, where a point is 20 twips and hinting plays no part.
const QPaintDevice *measuringDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = static_cast<int>(std::lround(kTwipsPerInch / 0.0254));
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

QFont measureFont(const PageFont &font)
{
    QFont f(font.family);
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    return f;
}

// Players may hint glyphs a little wider than measured at 1440 dpi; leave room for that.
constexpr double kWidthSafety = 1.04;

QStringList wrap(const QString &text, const QFontMetricsF &metrics, double width)
{
    QStringList lines;
    QString line;
    auto fitsWidth = [&](const QString &candidate) {
        return metrics.horizontalAdvance(candidate) * kWidthSafety <= width;
    };
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + u' ' + word;
        if (fitsWidth(candidate)) {
            line = candidate;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        line = word;
        // A word longer than the line is broken where it must be.
        while (!fitsWidth(line) && line.size() > 1) {
            int n = line.size() - 1;
            while (n > 1 && !fitsWidth(line.left(n)))
                --n;
            lines << line.left(n);
            line = line.mid(n);
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

struct Style {
    PageFont heading, subheading, body;
    QColor headingColour, subColour, bodyColour;
    double minBody;
    double lineFactor;    // line spacing as a multiple of the font's own
};

QColor accentFor(const QString &name)
{
    if (name.startsWith(u"key rubbish"_s))
        return QColor(34, 139, 34);
    if (name.startsWith(u"key resources"_s))
        return QColor(0, 114, 187);
    if (name.startsWith(u"guide"_s))
        return QColor(0, 128, 128);
    if (name == u"acknowledgments"_s)
        return QColor(49, 130, 212);
    if (name.startsWith(u"key "_s)) {
        // Other topics: one colour per topic (the page set's prefix), the same on every page.
        static const QColor palette[] = {QColor(196, 90, 20), QColor(0, 128, 96), QColor(170, 50, 90),
                                         QColor(40, 90, 170), QColor(120, 110, 20), QColor(0, 110, 140),
                                         QColor(150, 70, 40), QColor(60, 120, 40)};
        const QString prefix = name.left(name.size() - 1);
        return palette[qHash(prefix, 0) % (sizeof palette / sizeof palette[0])];
    }
    return QColor(128, 60, 160);   // Teacher's Notes
}

bool isKeyFacts(const PageSource &page)
{
    return page.name.startsWith(u"key "_s);
}

struct Flow {
    PageLayout *layout;
    double x, right, y;
};

// Adds the lines of one piece of text at flow.y; returns the measured line height.
double addLines(Flow &flow, const QString &text, const PageFont &font, const QColor &colour, double indent,
                double lineFactor, bool bullet)
{
    const QFontMetricsF metrics(measureFont(font), measuringDevice());
    const double step = metrics.lineSpacing() * lineFactor;
    const double x = flow.x + indent;
    bool first = true;
    for (const QString &line : wrap(text, metrics, flow.right - x)) {
        if (first && bullet) {
            const double r = metrics.xHeight() * 0.42;
            const QPointF centre(flow.x + indent * 0.45, flow.y + metrics.ascent() - metrics.xHeight() * 0.5);
            flow.layout->bullets.push_back(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
        }
        first = false;
        PageLine l;
        l.text = line;
        l.font = font;
        l.colour = colour;
        l.baseline = QPointF(x, flow.y + metrics.ascent());
        l.box = QRectF(x, flow.y, metrics.horizontalAdvance(line), metrics.ascent() + metrics.descent());
        flow.layout->lines.push_back(l);
        flow.y += step;
    }
    return step;
}

// Lays out the blocks in the text area at a body size; returns the bottom of the text.
double flowBlocks(PageLayout &layout, const PageSource &page, const Style &style, double bodyPoints)
{
    PageFont body = style.body;
    body.points = bodyPoints;
    PageFont sub = style.subheading;
    sub.points = bodyPoints * (style.subheading.points / style.body.points);
    const double em = QFontMetricsF(measureFont(body), measuringDevice()).height();
    Flow flow{&layout, layout.textArea.left(), layout.textArea.right(), layout.textArea.top()};
    const PageBlock *previous = nullptr;
    for (const PageBlock &block : page.blocks) {
        if (previous && previous->kind == PageBlock::ListItem && block.kind != PageBlock::ListItem)
            flow.y += em * 0.25;
        switch (block.kind) {
        case PageBlock::Subheading:
            if (previous)
                flow.y += em * 0.35;
            addLines(flow, block.text, sub, style.subColour, 0, style.lineFactor, false);
            flow.y += em * 0.1;
            break;
        case PageBlock::Paragraph:
            addLines(flow, block.text, body, style.bodyColour, 0, style.lineFactor, false);
            flow.y += em * 0.35;
            break;
        case PageBlock::ListItem:
            addLines(flow, block.text, body, style.bodyColour, em * 1.1, style.lineFactor, true);
            flow.y += em * 0.15;
            break;
        }
        previous = &block;
    }
    return flow.y;
}

} // namespace

PageSource parsePageSource(const QString &name, const QString &text)
{
    PageSource page;
    page.name = name;
    QString paragraph;
    auto endParagraph = [&] {
        if (!paragraph.isEmpty())
            page.blocks.push_back({PageBlock::Paragraph, paragraph});
        paragraph.clear();
    };
    for (QString line : QString(text).replace(u"\r\n"_s, u"\n"_s).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u"% "_s) || line == u"%"_s)
            continue;
        if (line.isEmpty()) {
            endParagraph();
        } else if (line.startsWith(u"## "_s)) {
            endParagraph();
            page.blocks.push_back({PageBlock::Subheading, line.mid(3).trimmed()});
        } else if (line.startsWith(u"# "_s)) {
            endParagraph();
            page.heading = line.mid(2).trimmed();
        } else if (line.startsWith(u"- "_s)) {
            endParagraph();
            page.blocks.push_back({PageBlock::ListItem, line.mid(2).trimmed()});
        } else if (line.startsWith(u"[picture:"_s) && line.endsWith(u']')) {
            endParagraph();
            page.picture = line.mid(9, line.size() - 10).trimmed();
        } else {
            paragraph = paragraph.isEmpty() ? line : paragraph + u' ' + line;
        }
    }
    endParagraph();
    return page;
}

QSizeF pageSize(const PageSource &page, PageVersion version)
{
    if (version == PageVersion::Print)
        return QSizeF(9900, 14400);
    // The acknowledgments leave the right of the screen to the animated logo.
    if (page.name == u"acknowledgments"_s)
        return QSizeF(8160, 7800);
    return QSizeF(10440, 7800);
}

std::vector<QRectF> pageKeepClear(const PageSource &page, PageVersion version)
{
    if (version == PageVersion::Print)
        return {};
    // The viewer's Print button (10680, 120, 1125 x 495) and its logo boxes, in page coordinates
    // (the page is shown at left 120), with a small margin.
    std::vector<QRectF> areas{QRectF(10560 - 120, 0, 1125 + 240, 495 + 240)};
    if (page.name == u"acknowledgments"_s)
        areas.push_back(QRectF(8520 - 120 - 120, 4320 - 120, 1830 + 240, 3255 + 240));
    return areas;
}

PageLayout layoutPage(const PageSource &page, PageVersion version, double pictureAspect)
{
    PageLayout layout;
    layout.version = version;
    layout.size = pageSize(page, version);
    layout.accent = accentFor(page.name);
    const bool screen = version == PageVersion::Screen;

    Style style;
    if (screen) {
        const double big = page.name == u"acknowledgments"_s ? 19 : isKeyFacts(page) ? 17 : 15;
        style = {{u"Arial"_s, 24, true}, {u"Arial"_s, big * 1.15, true}, {u"Tahoma"_s, big, false},
                 QColor(255, 255, 255), layout.accent.darker(125), QColor(34, 34, 51), 10, 1.08};
    } else {
        style = {{u"Arial"_s, 22, true}, {u"Arial"_s, 14.3, true}, {u"Times New Roman"_s, 13, false},
                 QColor(0, 0, 0), QColor(0, 0, 0), QColor(0, 0, 0), 8, 1.05};
    }

    // Heading: in a coloured band on screen, above a rule on paper.
    const double margin = screen ? 360 : 0;
    const double bandRight = screen ? layout.size.width() - 180 : layout.size.width();
    const double bandLeft = screen ? 180 : 0;
    const double bandTop = screen ? 150 : 0;
    const double pad = screen ? 150 : 0;
    PageFont headingFont = style.heading;
    const double headingWidth = bandRight - bandLeft - 2 * (pad + (screen ? 90 : 0));
    QFontMetricsF hm(measureFont(headingFont), measuringDevice());
    QStringList headingLines = wrap(page.heading, hm, headingWidth);
    while (headingLines.size() > 2 && headingFont.points > 12) {
        headingFont.points -= 1;
        hm = QFontMetricsF(measureFont(headingFont), measuringDevice());
        headingLines = wrap(page.heading, hm, headingWidth);
    }
    double y = bandTop + pad;
    for (const QString &text : headingLines) {
        PageLine line;
        line.text = text;
        line.font = headingFont;
        line.colour = style.headingColour;
        const double x = bandLeft + pad + (screen ? 90 : 0);
        line.baseline = QPointF(x, y + hm.ascent());
        line.box = QRectF(x, y, hm.horizontalAdvance(text), hm.ascent() + hm.descent());
        layout.lines.push_back(line);
        y += hm.lineSpacing();
    }
    y += pad - (hm.lineSpacing() - hm.height());
    layout.headingBand = QRectF(bandLeft, bandTop, bandRight - bandLeft, y - bandTop);
    const double contentTop = layout.headingBand.bottom() + (screen ? 240 : 300);

    double textRight = layout.size.width() - margin;
    const double bottom = layout.size.height() - (screen ? 240 : 0);
    if (!page.picture.isEmpty()) {
        const double columnWidth = screen ? 3480 : 3000;
        const double right = layout.size.width() - (screen ? 300 : 0);
        const double aspect = pictureAspect > 0 ? pictureAspect : 0.75;
        double w = columnWidth;
        double h = w / aspect;
        const double maxH = (screen ? bottom : contentTop + 6000) - contentTop;
        if (h > maxH) {
            h = maxH;
            w = h * aspect;
        }
        layout.pictureArea = QRectF(right - w, contentTop, w, h);
        textRight = right - columnWidth - (screen ? 360 : 300);
    }
    layout.textArea = QRectF(margin, contentTop, textRight - margin, bottom - contentTop);

    // The largest body size at which every block fits.
    const std::vector<PageLine> headingOnly = layout.lines;
    for (double points = style.body.points; points >= style.minBody - 1e-9; points -= 0.25) {
        layout.lines = headingOnly;
        layout.bullets.clear();
        layout.bodyPoints = points;
        const double end = flowBlocks(layout, page, style, points);
        layout.fits = end <= bottom;
        if (layout.fits)
            break;
    }
    return layout;
}

QFont twipFont(const PageFont &font, const QPainter &painter)
{
    QFont f(font.family);
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    f.setPointSizeF(font.points * kTwipsPerInch / dpi);
    f.setBold(font.bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void paintPage(QPainter &painter, const PageLayout &layout, QSvgRenderer *art)
{
    painter.save();
    const bool screen = layout.version == PageVersion::Screen;
    if (screen) {
        // A cream card with a coloured edge and a coloured heading band.
        const QRectF card(30, 30, layout.size.width() - 60, layout.size.height() - 60);
        painter.setPen(QPen(layout.accent, 60));
        painter.setBrush(QColor(255, 251, 236));
        painter.drawRoundedRect(card, 300, 300);
        painter.setPen(Qt::NoPen);
        painter.setBrush(layout.accent);
        painter.drawRoundedRect(layout.headingBand, 200, 200);
    } else {
        const double ruleY = layout.headingBand.bottom() + 120;
        painter.setPen(QPen(Qt::black, 20));
        painter.drawLine(QPointF(0, ruleY), QPointF(layout.size.width(), ruleY));
    }

    if (art && art->isValid() && !layout.pictureArea.isEmpty()) {
        QRectF target = layout.pictureArea;
        if (screen) {
            painter.setPen(QPen(layout.accent.lighter(140), 30));
            painter.setBrush(Qt::white);
            painter.drawRoundedRect(target, 160, 160);
            target.adjust(120, 120, -120, -120);
        }
        const QRectF box = art->viewBoxF();
        if (box.width() > 0 && box.height() > 0) {
            const double scale = std::min(target.width() / box.width(), target.height() / box.height());
            const QSizeF size = box.size() * scale;
            target = QRectF(target.center() - QPointF(size.width() / 2, size.height() / 2), size);
        }
        if (screen) {
            // On screen the picture is a bitmap at the page's own scale (15 twips a pixel): it
            // looks the same and plays far faster than thousands of shapes.
            QImage bitmap((target.size() / 15.0).toSize(), QImage::Format_RGB32);
            bitmap.fill(Qt::white);
            QPainter artPainter(&bitmap);
            artPainter.setRenderHint(QPainter::Antialiasing);
            art->render(&artPainter, QRectF(QPointF(0, 0), QSizeF(bitmap.size())));
            artPainter.end();
            painter.drawImage(QRectF(target.topLeft(), QSizeF(bitmap.size()) * 15.0), bitmap);
        } else {
            // Artwork may reach past its own view box; the frame holds it.
            painter.save();
            painter.setClipRect(target);
            art->render(&painter, target);
            painter.restore();
        }
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(screen ? layout.accent : QColor(Qt::black));
    for (const QRectF &bullet : layout.bullets)
        painter.drawEllipse(bullet);

    painter.setBrush(Qt::NoBrush);
    for (const PageLine &line : layout.lines) {
        painter.setFont(twipFont(line.font, painter));
        painter.setPen(line.colour);
        painter.drawText(line.baseline, line.text);
    }
    painter.restore();
}

} // namespace terravale
