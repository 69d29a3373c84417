#include "optionstyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace terravale {

namespace {
const QColor kRing(255, 255, 255);
const QColor kRingDisabled(160, 160, 160);
const QColor kWell(8, 16, 56);
const QColor kDot(255, 255, 0);

int labelSpacing(int fontPixelHeight)
{
    return std::max(6, optionIndicatorSize(fontPixelHeight) / 3);
}

class OptionStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (widget && (metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight))
            return optionIndicatorSize(QFontMetrics(widget->font()).height());
        if (widget && metric == PM_RadioButtonLabelSpacing)
            return labelSpacing(QFontMetrics(widget->font()).height());
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element != PE_IndicatorRadioButton) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const int side = std::min(option->rect.width(), option->rect.height());
        const QRectF box(option->rect.x() + (option->rect.width() - side) / 2.0,
                         option->rect.y() + (option->rect.height() - side) / 2.0, side, side);
        const double ring = std::max(2.0, side / 9.0);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(option->state & State_Enabled ? kRing : kRingDisabled, ring));
        painter->setBrush(kWell);
        painter->drawEllipse(box.adjusted(ring / 2, ring / 2, -ring / 2, -ring / 2));
        if (option->state & State_On) {
            const double inset = ring + side * 0.06;
            painter->setPen(Qt::NoPen);
            painter->setBrush(option->state & State_Enabled ? kDot : kRingDisabled);
            painter->drawEllipse(box.adjusted(inset, inset, -inset, -inset));
        }
        painter->restore();
    }
};

QStyle *optionStyle()
{
    static QPointer<OptionStyle> style;
    if (!style) {
        style = new OptionStyle;
        style->setParent(qApp);
    }
    return style;
}
} // namespace

int optionIndicatorSize(int fontPixelHeight)
{
    return std::max(14, int(std::lround(fontPixelHeight * 0.75)));
}

int optionTextRoom(int fontPixelHeight)
{
    constexpr int kMargin = 4;   // the common style's allowance around a radio button's contents
    return optionIndicatorSize(fontPixelHeight) + labelSpacing(fontPixelHeight) + kMargin;
}

void styleOption(QAbstractButton *option)
{
    option->setStyle(optionStyle());
}

} // namespace terravale
