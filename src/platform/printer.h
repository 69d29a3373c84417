#pragma once
#include "platform/picturedata.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <memory>
#include <stdexcept>

class QPainter;
class QPagedPaintDevice;

namespace terravale {

// A print job that could not start or could not be handed to the printer.
class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The standard sixteen-colour palette: 0 black, 1 blue (0,0,128) ... 9 light blue, 12 light red,
// 15 white. Numbers outside 0..15 give black.
QColor paletteColor(int number);

// One thing put on the page, with everything needed to draw it.
struct PrintOp {
    enum class Kind { Text, Line, Picture, NewPage };
    Kind kind = Kind::Text;
    QString text;
    QPointF at;          // text: left end on the top of its line; line: start; picture: top-left
    QPointF to;          // line: end
    QSizeF size;         // picture: its own size
    QString fontName;
    double fontSize = 0; // points
    int color = 0;       // palette number
    int lineWidth = 1;   // printer pixels (600 per inch)
    PictureHandle picture;
};

// A printer font: family and size in points, measured in twips.
QFont printerFont(const QString &name, double points);

// The printer as the program drives it: lengths in twips from the top-left of the page, text set
// out line by line from the current position. A job opens with the first thing that needs the
// page (its size, text, a line or a picture) and ends with endDoc(). Any operation that opens a
// job, and endDoc(), throw PrintError when there is no printer or it refuses the job.
class Printer {
public:
    virtual ~Printer() = default;

    double width();
    double height();

    double currentX() const { return m_x; }
    void setCurrentX(double x) { m_x = x; }
    double currentY() const { return m_y; }

    QString fontName() const { return m_fontName; }
    void setFontName(const QString &name) { m_fontName = name; }
    double fontSize() const { return m_fontSize; }
    void setFontSize(double points) { m_fontSize = points; }
    int foreColor() const { return m_color; }
    void setForeColor(int paletteNumber) { m_color = paletteNumber; }
    int drawWidth() const { return m_lineWidth; }
    void setDrawWidth(int pixels) { m_lineWidth = pixels; }

    // Width and line height of text in the current font, in twips.
    double textWidth(const QString &text) const;
    double lineHeight() const;

    // Prints at the current position; ending the line moves to X = 0 one line height lower,
    // otherwise X moves past the text. A line that would come within half an inch of the bottom
    // goes on a new page, half an inch from its top.
    void print(const QString &text, bool endLine = true);
    // A straight line in the current colour and line width.
    void line(QPointF from, QPointF to);
    // A picture with its top-left corner at `topLeft`, at its own size.
    void paintPicture(const PictureHandle &picture, QPointF topLeft);

    // Sends the open job to the printer; nothing happens when no job is open.
    void endDoc();
    // Drops the open job unprinted.
    void killDoc();

    bool jobOpen() const { return m_open; }

protected:
    // The default printer's page size in twips; throws PrintError when there is no printer.
    virtual QSizeF openJob() = 0;
    // Prints a finished job; throws PrintError when the printer refuses it.
    virtual void submit(const QList<PrintOp> &ops, QSizeF page) = 0;

private:
    void ensureOpen();
    PrintOp op(PrintOp::Kind kind) const;
    void reset();

    bool m_open = false;
    QSizeF m_page;
    QList<PrintOp> m_ops;
    double m_x = 0;
    double m_y = 0;
    QString m_fontName = QStringLiteral("Arial");
    double m_fontSize = 10;
    int m_color = 0;
    int m_lineWidth = 1;
};

// The system's default printer through CUPS. The job is drawn into a PDF file at 1440 dots per
// inch (one dot a twip) on the whole sheet of the printer's default paper (A4 when it names
// none), and that file is queued on the default destination.
class CupsPrinter : public Printer {
public:
    CupsPrinter();
    ~CupsPrinter() override;
    // The id of the last job queued, 0 before the first.
    int lastJobId() const { return m_jobId; }
    QString title = QStringLiteral("Terravale");

protected:
    QSizeF openJob() override;
    void submit(const QList<PrintOp> &ops, QSizeF page) override;

private:
    QString m_dest;
    int m_jobId = 0;
};

// Draws a job's operations onto a painter whose unit is the twip; NewPage asks `device` for a
// new page.
void renderJob(const QList<PrintOp> &ops, QPainter &painter, QPagedPaintDevice &device);

// The program-wide printer: the real one unless a test replaced it.
Printer &printer();
void setPrinter(std::shared_ptr<Printer> printer);

} // namespace terravale
