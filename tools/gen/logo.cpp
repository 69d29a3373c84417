// The publisher's logo: logo/quillmark2.bmp (still) and logo/quil0000.gif .. quil0019.gif, a
// quill writing a looping flourish on a slip of paper.
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <gif_lib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "gen.h"
#include "platform/fonts.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor kLogoBlue(49, 135, 214);
constexpr int kFrames = 20;

// The quill with its nib at the origin, leaning `degrees` to the right of upright, `length` long.
void drawQuill(QPainter &p, QPointF nib, double degrees, double length)
{
    p.save();
    p.translate(nib);
    p.rotate(degrees);
    const double L = length;
    QPainterPath vane;
    vane.moveTo(0, -0.22 * L);
    vane.cubicTo(-0.16 * L, -0.40 * L, -0.20 * L, -0.78 * L, -0.03 * L, -1.0 * L);
    vane.cubicTo(0.12 * L, -0.80 * L, 0.13 * L, -0.45 * L, 0, -0.22 * L);
    p.setPen(QPen(QColor(170, 190, 225), 1.2));
    p.setBrush(QColor(252, 252, 255));
    p.drawPath(vane);
    // Barbs, then the shaft.
    p.setPen(QPen(QColor(190, 205, 235), 0.8));
    for (int i = 1; i <= 6; ++i) {
        const double y = -0.25 * L - i * 0.11 * L;
        p.drawLine(QPointF(0, y + 0.02 * L), QPointF(-0.11 * L, y - 0.06 * L));
        p.drawLine(QPointF(0, y + 0.02 * L), QPointF(0.08 * L, y - 0.05 * L));
    }
    p.setPen(QPen(QColor(214, 170, 80), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, -0.08 * L), QPointF(-0.02 * L, -0.98 * L));
    QPolygonF nibShape;
    nibShape << QPointF(0, 0) << QPointF(-0.035 * L, -0.12 * L) << QPointF(0.035 * L, -0.12 * L);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 50));
    p.drawPolygon(nibShape);
    p.restore();
}

// The flourish: a figure of eight across the paper, closed so the animation loops.
QPointF flourish(double s)
{
    const double a = 2 * M_PI * s;
    return QPointF(54 + 29 * std::sin(a), 91 + 10 * std::sin(2 * a));
}

QImage frame(int index)
{
    QImage image(120, 120, QImage::Format_RGB32);
    image.fill(kLogoBlue);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(33, 100, 170));
    p.drawRoundedRect(QRectF(12, 72, 92, 40), 6, 6);     // shadow
    p.setBrush(QColor(255, 250, 228));
    p.drawRoundedRect(QRectF(8, 68, 92, 40), 6, 6);
    const double t = double(index) / kFrames;
    // Ink trail behind the nib, fading towards its start.
    constexpr int kTrail = 60;
    for (int k = kTrail; k > 0; --k) {
        const double s0 = t - k * 0.01, s1 = t - (k - 1) * 0.01;
        const int alpha = 255 - (k * 200) / kTrail;
        p.setPen(QPen(QColor(20, 40, 130, alpha), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(flourish(s0), flourish(s1));
    }
    const QPointF nib = flourish(t);
    drawQuill(p, nib, 27 + 5 * std::sin(2 * M_PI * t), 70);
    return image;
}

QImage stillLogo()
{
    QImage image(120, 89, QImage::Format_RGB32);
    image.fill(kLogoBlue);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // The open book.
    const QColor edge(150, 160, 190);
    for (const int side : {-1, 1}) {
        QPainterPath page;
        page.moveTo(60, 62);
        page.cubicTo(60 + side * 18, 54, 60 + side * 36, 54, 60 + side * 52, 58);
        page.lineTo(60 + side * 52, 82);
        page.cubicTo(60 + side * 36, 78, 60 + side * 18, 78, 60, 86);
        page.closeSubpath();
        p.setPen(QPen(edge, 1.2));
        p.setBrush(QColor(255, 252, 240));
        p.drawPath(page);
        p.setPen(QPen(QColor(190, 195, 215), 1));
        for (int i = 0; i < 3; ++i) {
            const double y = 64 + i * 5;
            p.drawLine(QPointF(60 + side * 10, y + 1), QPointF(60 + side * 44, y - 1));
        }
    }
    // The name.
    QFont font(u"Times New Roman"_s);
    font.setPixelSize(21);
    font.setBold(true);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(QColor(20, 50, 110));
    p.drawText(QRectF(1, 3, 120, 30), Qt::AlignHCenter | Qt::AlignVCenter, u"Quillmark"_s);
    p.setPen(QColor(255, 220, 70));
    p.drawText(QRectF(0, 2, 120, 30), Qt::AlignHCenter | Qt::AlignVCenter, u"Quillmark"_s);
    drawQuill(p, QPointF(66, 70), 38, 50);
    return image;
}

// One palette for all frames, so no colour jumps between frames: the most used colours.
QList<QRgb> sharedPalette(const QList<QImage> &images)
{
    QHash<QRgb, qint64> counts;
    for (const QImage &image : images)
        for (int y = 0; y < image.height(); ++y) {
            const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                ++counts[row[x] | 0xff000000u];
        }
    QList<std::pair<qint64, QRgb>> byUse;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        byUse.append({it.value(), it.key()});
    std::sort(byUse.begin(), byUse.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QList<QRgb> palette;
    for (int i = 0; i < byUse.size() && i < 256; ++i)
        palette.append(byUse[i].second);
    while (palette.size() < 256)
        palette.append(qRgb(0, 0, 0));
    return palette;
}

bool writeGif(const QString &path, const QImage &indexed)
{
    // giflib would create the file for its owner alone; data files are for every user to read.
    const int fd = open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    if (fchmod(fd, 0644) != 0) {
        close(fd);
        return false;
    }
    int error = 0;
    GifFileType *gif = EGifOpenFileHandle(fd, &error);   // closes fd when the file is closed
    if (!gif) {
        close(fd);
        return false;
    }
    GifColorType colours[256];
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        colours[i] = {GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
    }
    ColorMapObject *map = GifMakeMapObject(256, colours);
    bool ok = map && EGifPutScreenDesc(gif, indexed.width(), indexed.height(), 8, 0, map) == GIF_OK
              && EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < indexed.height(); ++y)
        ok = EGifPutLine(gif, const_cast<GifPixelType *>(indexed.constScanLine(y)), indexed.width()) == GIF_OK;
    GifFreeMapObject(map);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

bool makeLogo(const QDir &, const QDir &out)
{
    terravale::registerFonts();
    out.mkpath(u"logo"_s);
    if (!stillLogo().save(out.filePath(u"logo/quillmark2.bmp"_s), "BMP"))
        return false;
    QList<QImage> frames;
    for (int i = 0; i < kFrames; ++i)
        frames.append(frame(i));
    const QList<QRgb> palette = sharedPalette(frames);
    for (int i = 0; i < kFrames; ++i) {
        const QImage indexed = frames[i].convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
        const QString name = u"logo/quil%1.gif"_s.arg(i, 4, 10, QLatin1Char('0'));
        if (!writeGif(out.filePath(name), indexed)) {
            std::fprintf(stderr, "terravale-gen: cannot write %s\n", qPrintable(name));
            return false;
        }
    }
    return true;
}

const gen::Register logo(u"logo"_s, makeLogo);

} // namespace
