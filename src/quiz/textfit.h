#pragma once
#include <QFont>
#include <QSize>
#include <QString>

namespace terravale {

// The design font, made smaller (down to 12 pixels) only when the text would not fit the box,
// either word-wrapped or on one line.
QFont fittedFont(const QFont &design, const QString &text, QSize box, bool wrap);

} // namespace terravale
