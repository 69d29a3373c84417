#include "picturedata.h"

#include "filechannel.h"
#include "paths.h"
#include "wmf.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QPainter>

namespace terravale {

namespace {
constexpr qint64 kMaxMetafileBytes = 64 * 1024 * 1024;

PictureHandle loadMetafile(const QString &path)
{
    QFile file(path);
    if (file.size() > kMaxMetafileBytes || !file.open(QIODevice::ReadOnly))
        return nullptr;
    return readWmf(file.readAll());
}

// Readers of the formats Qt does not read, by suffix.
const QHash<QString, PictureHandle (*)(const QString &)> &loaders()
{
    static const QHash<QString, PictureHandle (*)(const QString &)> map{{QStringLiteral(".wmf"), loadMetafile}};
    return map;
}
} // namespace

PictureHandle loadPicture(const QString &programPath)
{
    const QString path = resolvePath(programPath);
    const QFileInfo info(path);
    if (!info.isFile())
        throw FileError(QStringLiteral("File not found: ") + programPath);
    const QString suffix = QLatin1Char('.') + info.suffix().toLower();
    if (const auto it = loaders().constFind(suffix); it != loaders().constEnd()) {
        PictureHandle picture = (*it)(path);
        if (!picture)
            throw FileError(QStringLiteral("Invalid picture: ") + programPath);
        return picture;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        throw FileError(QStringLiteral("Invalid picture: ") + programPath);
    return std::make_shared<RasterPicture>(std::move(image));
}

void RasterPicture::paint(QPainter &painter, const QRectF &target) const
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.size() != QSizeF(m_image.size()));
    painter.drawImage(target, m_image);
    painter.restore();
}

} // namespace terravale
