#include "textfit.h"

#include <QFontMetrics>
#include <QRect>

namespace terravale {

QFont fittedFont(const QFont &design, const QString &text, QSize box, bool wrap)
{
    QFont font = design;
    for (int pixels = design.pixelSize(); pixels > 12; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        const QRect needed = wrap ? metrics.boundingRect(QRect(0, 0, box.width(), 10000), Qt::TextWordWrap, text)
                                  : QRect(0, 0, metrics.horizontalAdvance(text), metrics.height());
        if (needed.width() <= box.width() && needed.height() <= box.height())
            break;
    }
    return font;
}

} // namespace terravale
