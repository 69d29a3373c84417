#pragma once
#include "platform/label.h"
#include "platform/screen.h"

class QCheckBox;

namespace terravale {

// The catalogue's Label2 index 0 is "Exit"; 1 to worksheets::kSlots are the title slots.
constexpr int kCatalogueExit = 0;

// The catalogue's page buttons, by their Label3 index.
enum class CataloguePage : int { Previous = 0, Next = 1 };

// The Worksheets Catalogue: the catalogue's titles 24 to a page; a title runs as a quiz, opens
// in the wizard ("Edit Worksheet") or leaves the catalogue ("Delete Worksheet").
class worksheets : public Screen {
    Q_OBJECT
public:
    worksheets();
    void formLoad() override;

    Label *Label1;        // heading
    QCheckBox *Check1;    // "Edit Worksheet"
    QCheckBox *Check2;    // "Delete Worksheet"
    LabelArray Label2;    // 0 "Exit", 1..24 title slots
    LabelArray Label3;    // 0 "<< Previous Page", 1 "Next Page >>"
    Label *Label4;        // "Page n"

    // Redraws page catpage from the session's list.
    void workpage();
    // Fills the wizard with the question set just loaded and shows it.
    void editworksheet();

    void Check1_Click();
    void Check2_Click();
    void Label2_Click(int index);
    void Label3_Click(int index);

    static constexpr int kSlots = 24;

protected:
    void formMouseMove(Qt::MouseButtons buttons, QPointF twips) override;
};

} // namespace terravale
