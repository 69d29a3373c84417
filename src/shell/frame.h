#pragma once
#include <QColor>
#include <QString>

namespace terravale {

class Screen;

inline const QColor kScreenBlue(39, 63, 137);
inline const QColor kPictureBlue(49, 135, 214);
inline const QColor kYellow(255, 255, 0);
inline const QColor kBlack(0, 0, 0);
inline const QColor kNavy(0, 0, 128);
inline const QString kProgramTitle = QStringLiteral("Terravale");

// The standard frame every screen applies at load: blue 12000 x 9000 twip window captioned
// "Terravale", centred on the display; a child named Picture1 gets the lighter blue.
void setupform(Screen &screen);

} // namespace terravale
