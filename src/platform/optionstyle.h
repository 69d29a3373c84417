#pragma once

class QAbstractButton;

namespace terravale {

// Gives an option button an indicator a child sees at a glance: a light circle outline on a dark
// fill, holding a big yellow dot when the option is chosen, sized to the button's font.
void styleOption(QAbstractButton *option);

// Side of that indicator in pixels for a font of the given pixel height.
int optionIndicatorSize(int fontPixelHeight);

// Width an option button in that style needs beside its caption's text: the indicator, the
// spacing after it and the style's margin.
int optionTextRoom(int fontPixelHeight);

} // namespace terravale
