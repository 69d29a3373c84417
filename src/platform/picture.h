#pragma once
#include "platform/picturedata.h"

#include <QColor>
#include <QString>
#include <QWidget>

namespace terravale {

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
