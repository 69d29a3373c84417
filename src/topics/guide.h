#pragma once
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"
#include "viewerparts.h"

namespace terravale {

// The Teachers' Guide runs to five pages.
constexpr int kGuidePages = 5;

// The Teachers' Guide: five fixed pages with Next, Previous, Print and Exit.
class guide : public PageViewer {
    Q_OBJECT
public:
    guide();
    void formLoad() override;

    // Loads guide page `page` into Image1 (screen) and Image2 (print).
    void loadPage(int page);

protected:
    void formMouseMove(Qt::MouseButtons buttons, QPointF twips) override;
    int pageCount() const override { return kGuidePages; }
    void showPage(int page) override { loadPage(page); }
};

// Opens the guide on page 1 (main menu).
void openGuide();

} // namespace terravale
