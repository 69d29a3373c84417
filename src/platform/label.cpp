#include "label.h"

#include "fonts.h"
#include "twips.h"

#include <QMouseEvent>
#include <QPainter>

namespace terravale {

Label::Label(QWidget *parent, int index) : QWidget(parent), m_index(index)
{
    setMouseTracking(true);
    setFont(designFont(QStringLiteral("Tahoma"), 8.25));
}

void Label::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void Label::setForeColor(const QColor &color)
{
    m_fore = color;
    update();
}

void Label::setBackColor(const QColor &color)
{
    m_back = color;
    update();
}

void Label::setOpaque(bool opaque)
{
    if (opaque == m_opaque)
        return;
    m_opaque = opaque;
    update();
}

void Label::setBorder(bool border)
{
    m_border = border;
    update();
}

void Label::setAlignment(Qt::Alignment alignment)
{
    m_align = alignment;
    update();
}

void Label::moveTw(float left, float top)
{
    m_left = left;
    m_top = top;
    move(px(left), px(top));
}

void Label::setGeometryTw(float left, float top, float width, float height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    setGeometry(px(left), px(top), px(width), px(height));
}

void Label::makeButton(double points, const QColor &back)
{
    setFont(designFont(QStringLiteral("Tahoma"), points, true));
    setForeColor(QColor(255, 255, 0));
    setBackColor(back);
    setOpaque(true);
    setBorder(true);
    setAlignment(Qt::AlignHCenter);
    setCursor(Qt::PointingHandCursor);
}

void Label::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect all = rect();
    if (m_opaque)
        painter.fillRect(all, m_back);
    QRect textRect = all;
    if (m_border) {
        // A sunken single border: shadow along the top and left, light along the bottom and right.
        painter.setPen(QColor(128, 128, 128));
        painter.drawLine(0, 0, all.width() - 1, 0);
        painter.drawLine(0, 0, 0, all.height() - 1);
        painter.setPen(QColor(255, 255, 255));
        painter.drawLine(0, all.height() - 1, all.width() - 1, all.height() - 1);
        painter.drawLine(all.width() - 1, 0, all.width() - 1, all.height() - 1);
        textRect.adjust(2, 2, -2, -2);
    }
    if (m_caption.isEmpty())
        return;
    painter.setFont(font());
    painter.setPen(isEnabled() ? m_fore : QColor(128, 128, 128));
    painter.drawText(textRect, int(m_align | Qt::AlignTop | Qt::TextWordWrap), m_caption);
}

void Label::mousePressEvent(QMouseEvent *event)
{
    m_pressedInside = true;
    emit mousePressed(m_index, event->button(), event->position() * kTwipsPerPixel);
    event->accept();
}

void Label::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(m_index, event->buttons(), event->position() * kTwipsPerPixel);
    event->accept();
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    const bool inside = rect().contains(event->position().toPoint());
    const bool wasPressed = m_pressedInside;
    m_pressedInside = false;
    emit mouseReleased(m_index, event->button(), event->position() * kTwipsPerPixel);
    if (wasPressed && inside && event->button() == Qt::LeftButton)
        emit clicked(m_index);
    event->accept();
}

void lightButton(LabelArray &buttons, int index)
{
    buttons(index).setOpaque(true);
}

void clearButtons(LabelArray &buttons, int first, int last)
{
    for (int i = first; i <= last; ++i)
        buttons(i).setOpaque(false);
}

Label *addLabelButton(QWidget *parent, LabelArray &row, const LabelButtonDef &def, double points,
                      const std::function<void(int)> &onClick, Hover hover, const QColor &back)
{
    auto *button = new Label(parent, def.index);
    button->setGeometryTw(def.left, def.top, def.width, def.height);
    if (def.caption)
        button->setCaption(QString::fromLatin1(def.caption));
    button->makeButton(points, back);
    row.add(def.index, button);
    QObject::connect(button, &Label::clicked, parent, onClick);
    if (hover == Hover::Light) {
        QObject::connect(button, &Label::mouseMoved, parent,
                         [&row](int index, Qt::MouseButtons, QPointF) { lightButton(row, index); });
    }
    return button;
}

void addLabelButtons(QWidget *parent, LabelArray &row, std::initializer_list<LabelButtonDef> defs, double points,
                     const std::function<void(int)> &onClick, Hover hover)
{
    for (const LabelButtonDef &def : defs)
        addLabelButton(parent, row, def, points, onClick, hover);
}

} // namespace terravale
