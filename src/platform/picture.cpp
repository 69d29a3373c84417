#include "picture.h"

#include "filechannel.h"
#include "paths.h"
#include "wmf.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QMouseEvent>
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

// Metafiles are known from the start; other readers register themselves.
QHash<QString, PictureLoader> &loaders()
{
    static QHash<QString, PictureLoader> map{{QStringLiteral(".wmf"), loadMetafile}};
    return map;
}
} // namespace

void registerPictureLoader(const QString &suffix, PictureLoader loader)
{
    loaders().insert(suffix.toLower(), std::move(loader));
}

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

Picture::Picture(QWidget *parent, Mode mode) : QWidget(parent), m_mode(mode)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void Picture::load(const QString &programPath)
{
    PictureHandle picture = loadPicture(programPath);
    m_file = programPath;
    setPicture(std::move(picture));
}

void Picture::setPicture(PictureHandle picture)
{
    m_picture = std::move(picture);
    if (m_picture && m_mode == Mode::AutoSize)
        resize(m_picture->sizePixels() + (m_border ? QSize(2, 2) : QSize(0, 0)));
    if (!m_picture)
        m_file.clear();
    update();
}

void Picture::setBackColor(const QColor &color)
{
    m_back = color;
    update();
}

void Picture::setBorder(bool border)
{
    m_border = border;
    if (m_picture && m_mode == Mode::AutoSize)
        resize(m_picture->sizePixels() + (m_border ? QSize(2, 2) : QSize(0, 0)));
    update();
}

void Picture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRectF inner = rect();
    if (m_back.isValid())
        painter.fillRect(rect(), m_back);
    if (m_border)
        inner.adjust(1, 1, -1, -1);
    if (m_picture) {
        painter.setClipRect(inner);
        const QSizeF own = m_picture->sizePixels();
        QRectF target(inner.topLeft(), own);
        if (m_mode == Mode::Stretch) {
            target = inner;
        } else if (m_mode == Mode::Fit && !own.isEmpty()) {
            const QSizeF scaled = own.scaled(inner.size(), Qt::KeepAspectRatio);
            target = QRectF(inner.center() - QPointF(scaled.width() / 2, scaled.height() / 2), scaled);
        }
        m_picture->paint(painter, target);
        painter.setClipping(false);
    }
    if (m_border) {
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void Picture::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(event->buttons(), event->position() * 15.0);
    event->accept();
}

} // namespace terravale
