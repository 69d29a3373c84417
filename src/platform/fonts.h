#pragma once
#include <QFont>
#include <QString>

namespace terravale {

// Makes Tahoma, Times New Roman and Arial available through their installed metric-compatible
// fonts (Wine's Tahoma, Liberation Serif and Sans). Call once after the application exists.
void registerFonts();

// A font given in points as the screens are designed (at 96 dpi: 12 pt is 16 pixels).
QFont designFont(const QString &family, double points, bool bold = false, bool italic = false);

// The font family that actually renders the given design family.
QString installedFamily(const QString &family);

} // namespace terravale
