#pragma once
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>
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
using PictureLoader = std::function<PictureHandle(const QString &resolvedPath)>;

// Loads JPEG, BMP or GIF (and every format a registered loader adds) by program path.
// Throws FileError when the file is missing or unreadable.
PictureHandle loadPicture(const QString &programPath);

// Adds a reader for files ending in the given suffix (".wmf").
void registerPictureLoader(const QString &suffix, PictureLoader loader);

class RasterPicture : public PictureData {
public:
    explicit RasterPicture(QImage image) : m_image(std::move(image)) {}
    QSize sizePixels() const override { return m_image.size(); }
    void paint(QPainter &painter, const QRectF &target) const override;
    const QImage &image() const { return m_image; }

private:
    QImage m_image;
};

// A picture control. AutoSize takes the picture's own size (an image control); Clip draws the
// picture at its own size from the top-left corner (a picture box); Fit scales it into the frame
// keeping its shape; Stretch fills the frame.
class Picture : public QWidget {
    Q_OBJECT
public:
    enum class Mode { AutoSize, Clip, Fit, Stretch };
    explicit Picture(QWidget *parent, Mode mode = Mode::AutoSize);

    void load(const QString &programPath);       // throws FileError; the old picture stays then
    void setPicture(PictureHandle picture);
    void clear() { setPicture(nullptr); }
    PictureHandle picture() const { return m_picture; }
    QString fileName() const { return m_file; }

    void setBackColor(const QColor &color);      // opaque background (picture boxes)
    QColor backColor() const { return m_back; }
    void setBorder(bool border);

signals:
    void mouseMoved(Qt::MouseButtons buttons, QPointF twips);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    Mode m_mode;
    PictureHandle m_picture;
    QString m_file;
    QColor m_back;
    bool m_border = false;
};

} // namespace terravale
