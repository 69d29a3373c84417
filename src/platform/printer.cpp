#include "printer.h"

#include "platform/fonts.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <cmath>
#include <cups/cups.h>

namespace terravale {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kLinePixelsPerInch = 600.0;
const QSizeF kA4(11906, 16838);
// Text that runs on stays this far from the bottom edge and starts this far down the next page,
// clear of a printer's unprintable margin.
constexpr double kRunOnMargin = 720;

std::shared_ptr<Printer> &current()
{
    static std::shared_ptr<Printer> p = std::make_shared<CupsPrinter>();
    return p;
}

double ascent(const QFont &font) { return QFontMetricsF(font).ascent(); }
} // namespace

QColor paletteColor(int number)
{
    static const QRgb palette[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                                     0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    return QColor(number >= 0 && number < 16 ? palette[number] : palette[0]);
}

QFont printerFont(const QString &name, double points)
{
    // One pixel of this font is one twip: 20 twips to the point.
    QFont font(installedFamily(name));
    font.setPixelSize(std::max(1, int(std::lround(points * kTwipsPerInch / 72.0))));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

double Printer::width()
{
    ensureOpen();
    return m_page.width();
}

double Printer::height()
{
    ensureOpen();
    return m_page.height();
}

double Printer::textWidth(const QString &text) const
{
    return QFontMetricsF(printerFont(m_fontName, m_fontSize)).horizontalAdvance(text);
}

double Printer::lineHeight() const
{
    return QFontMetricsF(printerFont(m_fontName, m_fontSize)).lineSpacing();
}

void Printer::print(const QString &text, bool endLine)
{
    ensureOpen();
    const double step = lineHeight();
    if (m_y > kRunOnMargin && m_y + step > m_page.height() - kRunOnMargin) {
        m_ops.append(op(PrintOp::Kind::NewPage));
        m_y = kRunOnMargin;
    }
    PrintOp item = op(PrintOp::Kind::Text);
    item.text = text;
    item.at = QPointF(m_x, m_y);
    m_ops.append(item);
    if (endLine) {
        m_x = 0;
        m_y += step;
    } else {
        m_x += textWidth(text);
    }
}

void Printer::line(QPointF from, QPointF to)
{
    ensureOpen();
    PrintOp item = op(PrintOp::Kind::Line);
    item.at = from;
    item.to = to;
    m_ops.append(item);
}

void Printer::paintPicture(const PictureHandle &picture, QPointF topLeft)
{
    ensureOpen();
    if (!picture)
        return;
    PrintOp item = op(PrintOp::Kind::Picture);
    item.at = topLeft;
    item.size = picture->sizeTwips();
    item.picture = picture;
    m_ops.append(item);
}

void Printer::endDoc()
{
    if (!m_open)
        return;
    const QList<PrintOp> ops = std::move(m_ops);
    const QSizeF page = m_page;
    reset();
    submit(ops, page);
}

void Printer::killDoc() { reset(); }

void Printer::ensureOpen()
{
    if (m_open)
        return;
    m_page = openJob();
    m_open = true;
    m_x = 0;
    m_y = 0;
}

PrintOp Printer::op(PrintOp::Kind kind) const
{
    PrintOp item;
    item.kind = kind;
    item.fontName = m_fontName;
    item.fontSize = m_fontSize;
    item.color = m_color;
    item.lineWidth = m_lineWidth;
    return item;
}

void Printer::reset()
{
    m_open = false;
    m_ops.clear();
    m_x = 0;
    m_y = 0;
    m_fontName = QStringLiteral("Arial");
    m_fontSize = 10;
    m_color = 0;
    m_lineWidth = 1;
}

void renderJob(const QList<PrintOp> &ops, QPainter &painter, QPagedPaintDevice &device)
{
    for (const PrintOp &item : ops) {
        switch (item.kind) {
        case PrintOp::Kind::Text: {
            if (item.text.isEmpty())
                break;
            const QFont font = printerFont(item.fontName, item.fontSize);
            painter.setFont(font);
            painter.setPen(paletteColor(item.color));
            painter.drawText(QPointF(item.at.x(), item.at.y() + ascent(font)), item.text);
            break;
        }
        case PrintOp::Kind::Line: {
            QPen pen(paletteColor(item.color));
            pen.setWidthF(std::max(1, item.lineWidth) * kTwipsPerInch / kLinePixelsPerInch);
            pen.setCapStyle(Qt::SquareCap);
            painter.setPen(pen);
            painter.drawLine(item.at, item.to);
            break;
        }
        case PrintOp::Kind::Picture:
            painter.save();
            item.picture->paint(painter, QRectF(item.at, item.size));
            painter.restore();
            break;
        case PrintOp::Kind::NewPage:
            device.newPage();
            break;
        }
    }
}

QSizeF CupsPrinter::openJob()
{
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (!dest)
        throw PrintError("no default printer");
    m_dest = QString::fromUtf8(dest->name);
    QSizeF page = kA4;
    if (cups_dinfo_t *info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        cups_size_t size;
        if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size)
            && size.width > 0 && size.length > 0)
            page = QSizeF(size.width, size.length) * (kTwipsPerInch / 2540.0);   // from 1/100 mm
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return QSizeF(std::round(page.width()), std::round(page.height()));
}

void CupsPrinter::submit(const QList<PrintOp> &ops, QSizeF page)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        throw PrintError("no folder for the print file");
    const QString file = dir.filePath(QStringLiteral("job.pdf"));
    {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(file);
        pdf.setDocName(title);
        pdf.setCreator(QStringLiteral("Terravale"));
        pdf.setPageSize(QPageSize(page / kTwipsPerInch, QPageSize::Inch, QString(), QPageSize::FuzzyMatch));
        pdf.setFullPage(true);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(int(kTwipsPerInch));
        QPainter painter;
        if (!painter.begin(&pdf))
            throw PrintError("cannot write the print file");
        renderJob(ops, painter, pdf);
        if (!painter.end())
            throw PrintError("cannot finish the print file");
    }
    const QByteArray dest = m_dest.toUtf8();
    const QByteArray path = file.toLocal8Bit();
    const QByteArray name = title.toUtf8();
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, dest.constData(), path.constData(), name.constData(), 0, nullptr);
    if (job <= 0)
        throw PrintError(std::string("the printer refused the job: ") + cupsLastErrorString());
    m_jobId = job;
}

CupsPrinter::CupsPrinter() = default;
CupsPrinter::~CupsPrinter() = default;

Printer &printer() { return *current(); }

void setPrinter(std::shared_ptr<Printer> printer) { current() = std::move(printer); }

} // namespace terravale
