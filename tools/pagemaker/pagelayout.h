#pragma once
#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

class QPainter;
class QSvgRenderer;

namespace terravale {

// A reading page as written in content/pages: "# " heading, "## " subheadings, paragraphs,
// "- " list items and an optional "[picture: NAME.svg]"; "% " lines are notes, not text.
struct PageBlock {
    enum Kind { Subheading, Paragraph, ListItem };
    Kind kind;
    QString text;
};

struct PageSource {
    QString name;      // file name without extension, e.g. "key rubbisha"
    QString heading;
    std::vector<PageBlock> blocks;
    QString picture;   // art file name, empty when the page has none
};

PageSource parsePageSource(const QString &name, const QString &text);

enum class PageVersion { Screen, Print };

// Own size of a page in twips: the screen version fits above the viewer's buttons, the print
// version fits an A4 sheet drawn at 1000, 1000 twips.
QSizeF pageSize(const PageSource &page, PageVersion version);

// The area of a screen page that the viewer covers with its own controls (Print button,
// acknowledgments logo); no text may be laid out there. Empty for print pages.
std::vector<QRectF> pageKeepClear(const PageSource &page, PageVersion version);

struct PageFont {
    QString family;
    double points = 12;
    bool bold = false;
};

struct PageLine {
    QString text;
    PageFont font;
    QColor colour;
    QPointF baseline;   // twips from the page's top-left
    QRectF box;         // ascent to descent, measured advance
};

struct PageLayout {
    PageVersion version = PageVersion::Screen;
    QSizeF size;
    double bodyPoints = 0;     // body size chosen so that all text fits
    bool fits = false;         // false only when even the smallest size overflows
    QRectF textArea;
    QRectF headingBand;
    QRectF pictureArea;        // empty when the page has no picture
    QColor accent;
    std::vector<PageLine> lines;
    std::vector<QRectF> bullets;
};

// Lays out a page; pictureAspect is the art's width / height (0: no art at hand, keep the space).
PageLayout layoutPage(const PageSource &page, PageVersion version, double pictureAspect = 0.75);

// Paints a laid-out page with the painter's coordinates in twips; art may be null.
void paintPage(QPainter &painter, const PageLayout &layout, QSvgRenderer *art);

// A font in points for a painter whose user units are twips, whatever the device's resolution.
QFont twipFont(const PageFont &font, const QPainter &painter);

} // namespace terravale
