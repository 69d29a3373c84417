// Reading pages: every content/pages/NAME.txt becomes wmf/NAME.wmf (screen) and wmf2/NAME.wmf (print).
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <memory>

#include "gen.h"
#include "platform/fonts.h"
#include "pagemaker/wmfwriter.h"
#include "platform/wmf.h"
#include "pagemaker/pagelayout.h"

using namespace Qt::Literals::StringLiterals;
using namespace terravale;

namespace {

void warn(const QString &message)
{
    std::fprintf(stderr, "terravale-gen: warning: %s\n", qPrintable(message));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool makePages(const QDir &content, const QDir &out)
{
    registerFonts();
    const QDir src(content.filePath(u"pages"_s));
    for (const QString &fileName : src.entryList({u"*.txt"_s}, QDir::Files, QDir::Name)) {
        QFile in(src.filePath(fileName));
        if (!in.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "terravale-gen: cannot read %s\n", qPrintable(fileName));
            return false;
        }
        const PageSource page = parsePageSource(QFileInfo(fileName).completeBaseName(), QString::fromUtf8(in.readAll()));

        std::unique_ptr<QSvgRenderer> art;
        double aspect = 0.75;
        if (!page.picture.isEmpty()) {
            const QString artPath = src.filePath(u"art/"_s + page.picture);
            if (QFileInfo::exists(artPath))
                art = std::make_unique<QSvgRenderer>(artPath);
            if (!art || !art->isValid()) {
                warn(page.name + u": picture "_s + page.picture + u" is missing; the page is made without it"_s);
                art.reset();
            } else if (art->viewBoxF().height() > 0) {
                aspect = art->viewBoxF().width() / art->viewBoxF().height();
            }
        }

        for (const PageVersion version : {PageVersion::Screen, PageVersion::Print}) {
            const PageLayout layout = layoutPage(page, version, aspect);
            const QString folder = version == PageVersion::Screen ? u"wmf"_s : u"wmf2"_s;
            if (!layout.fits)
                warn(page.name + u" ("_s + folder + u"): the text does not fit even at the smallest size"_s);
            const QByteArray wmf = paintToWmf(layout.size.toSize(), [&](QPainter &painter) {
                painter.setRenderHint(QPainter::Antialiasing);
                paintPage(painter, layout, art.get());
            });
            if (wmf.isEmpty()) {
                warn(page.name + u": no metafile writer; "_s + folder + u" page not written"_s);
                continue;
            }
            const QString target = out.filePath(folder + u'/' + page.name + u".wmf"_s);
            if (!writeFile(target, wmf)) {
                std::fprintf(stderr, "terravale-gen: cannot write %s\n", qPrintable(target));
                return false;
            }
        }
    }
    return true;
}

const gen::Register pages(u"pages"_s, makePages);

} // namespace

int gen::pagePreview(const QString &pageFile, const QString &version, const QString &png)
{
    registerFonts();
    QFile in(pageFile);
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    const QFileInfo info(pageFile);
    const PageSource page = parsePageSource(info.completeBaseName(), QString::fromUtf8(in.readAll()));
    std::unique_ptr<QSvgRenderer> art;
    double aspect = 0.75;
    if (!page.picture.isEmpty()) {
        art = std::make_unique<QSvgRenderer>(info.dir().filePath(u"art/"_s + page.picture));
        if (!art->isValid())
            art.reset();
        else
            aspect = art->viewBoxF().width() / art->viewBoxF().height();
    }
    const PageVersion v = version == u"print"_s ? PageVersion::Print : PageVersion::Screen;
    const PageLayout layout = layoutPage(page, v, aspect);
    QImage image((layout.size / 15.0).toSize(), QImage::Format_RGB32);
    image.fill(v == PageVersion::Print ? QColor(Qt::white) : QColor(39, 63, 137));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(1 / 15.0, 1 / 15.0);
    paintPage(painter, layout, art.get());
    painter.end();
    std::printf("%s %s: body %.2f pt, fits %d\n", qPrintable(page.name), qPrintable(version), layout.bodyPoints,
                int(layout.fits));
    return image.save(png) ? 0 : 1;
}

int gen::metafilePreview(const QString &wmfFile, const QString &png)
{
    registerFonts();
    QFile in(wmfFile);
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    const PictureHandle picture = readWmf(in.readAll());
    if (!picture)
        return 1;
    // Print pages have no background of their own: they go on white paper.
    QImage image(picture->sizePixels(), QImage::Format_RGB32);
    image.fill(wmfFile.contains(u"wmf2"_s) ? QColor(Qt::white) : QColor(39, 63, 137));
    QPainter painter(&image);
    picture->paint(painter, QRectF(QPointF(0, 0), QSizeF(picture->sizePixels())));
    painter.end();
    return image.save(png) ? 0 : 1;
}
