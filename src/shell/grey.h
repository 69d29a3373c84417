#pragma once
#include "platform/screen.h"

namespace terravale {

// The sound host and backdrop: a borderless window filling the display behind every screen.
class Grey : public Screen {
    Q_OBJECT
public:
    Grey();
    void formLoad() override;
    // Shows the backdrop maximised, in front of the other screens.
    void showBackdrop();
};

} // namespace terravale
