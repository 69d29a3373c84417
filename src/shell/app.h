#pragma once

class QApplication;

namespace terravale {

// Program-wide set-up before the first screen loads: name, fonts, screens' wiring.
void startProgram(QApplication &app);

} // namespace terravale
