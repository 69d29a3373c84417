#pragma once
#include "platform/screen.h"

namespace terravale {

// The sound host and backdrop: a borderless window filling the display, below every screen for
// the whole run. It never takes the focus and ignores close requests.
class Grey : public Screen {
    Q_OBJECT
public:
    Grey();
    void formLoad() override;
    // Shows the backdrop over the whole display, beneath the screens.
    void showBackdrop();

protected:
    // A click on the backdrop brings the screen in use (or an open message) back to the front.
    void mousePressEvent(QMouseEvent *event) override;
};

} // namespace terravale
