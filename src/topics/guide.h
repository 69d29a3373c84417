#pragma once
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

namespace terravale {

// The Teachers' Guide runs to five pages.
constexpr int kGuidePages = 5;

// The Teachers' Guide: five fixed pages with Next, Previous, Print and Exit.
class guide : public Screen {
    Q_OBJECT
public:
    guide();
    void formLoad() override;

    LabelArray Label3;   // 0 Print, 1 Exit, 2 Next Page, 3 Previous Page
    Label *Label1;       // page caption
    Picture *Image1;     // screen version of the page
    Picture *Image2;     // print version, never visible
    Label *missingPage;  // shown instead of a page that cannot be loaded

    // Loads guide page `page` into Image1 (screen) and Image2 (print).
    void loadPage(int page);

    void Label3_Click(int index);

protected:
    void formMouseMove(Qt::MouseButtons buttons, QPointF twips) override;

private:
    void refresh();
};

// Opens the guide on page 1 (main menu).
void openGuide();

} // namespace terravale
