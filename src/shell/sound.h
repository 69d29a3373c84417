#pragma once
#include <QString>

namespace terravale {

// Plays a clip when the sound switch is on (soundon is 1); otherwise does nothing at all.
void playclip(const QString &programPath);

} // namespace terravale
