#pragma once
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class QPainter;

namespace terravale {

// A loaded picture: raster image or metafile, with its own size.
class PictureData {
public:
    virtual ~PictureData() = default;
    virtual QSize sizePixels() const = 0;                        // own size in logical pixels
    virtual QSizeF sizeTwips() const { return QSizeF(sizePixels()) * 15.0; }
    virtual void paint(QPainter &painter, const QRectF &target) const = 0;
};

using PictureHandle = std::shared_ptr<const PictureData>;

// Loads JPEG, BMP, GIF or a placeable metafile (.wmf) by program path.
// Throws FileError when the file is missing or unreadable.
PictureHandle loadPicture(const QString &programPath);

class RasterPicture : public PictureData {
public:
    explicit RasterPicture(QImage image) : m_image(std::move(image)) {}
    QSize sizePixels() const override { return m_image.size(); }
    void paint(QPainter &painter, const QRectF &target) const override;
    const QImage &image() const { return m_image; }

private:
    QImage m_image;
};

} // namespace terravale
