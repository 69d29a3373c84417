#pragma once
#include <QString>

namespace terravale {

// The clip every button click plays.
inline const QString kClickClip = QStringLiteral("wav\\click.wav");

// Plays a clip when the sound switch is on (soundon is 1); otherwise does nothing at all.
void playclip(const QString &programPath);

} // namespace terravale
