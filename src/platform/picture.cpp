#include "picture.h"

#include <QMouseEvent>
#include <QPainter>

namespace terravale {

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
