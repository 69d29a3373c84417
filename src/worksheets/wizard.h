#pragma once
#include "platform/label.h"
#include "platform/screen.h"
#include "rules/authoring.h"

class QCheckBox;
class QLineEdit;

namespace terravale {

// The wizard's buttons, by their Label3 index.
enum class WizardButton : int { Exit = 0, SaveWorksheet = 1 };

// The Multiple Choice Wizard: a title, ten questions with four choices each and a tick for the
// correct one; "Save Worksheet" validates, writes the worksheet and lists it in the catalogue.
class wizard : public Screen {
    Q_OBJECT
public:
    wizard();
    void formLoad() override;

    LabelArray Label1;                // 0 heading, 1 "Worksheet Title", 2..11 questions, 12..51 letters
    QLineEdit *Text1;                 // title
    ControlArray<QLineEdit> Text2;    // 0..9 question texts
    ControlArray<QLineEdit> Text3;    // 0..39 choices, 4q + k
    ControlArray<QCheckBox> Check1;   // 0..39 correct-choice ticks, 4q + k
    LabelArray Label3;                // 0 "Exit", 1 "Save Worksheet"

    void Text1_KeyPress(int keyAscii);
    void Text2_KeyPress(int index, int keyAscii);
    void Text3_KeyPress(int index, int keyAscii);
    void Label3_Click(int index);

    // Validates the entries and saves them, or shows the first problem.
    void genwork();
    // Writes the worksheet and lists it; shows the outcome.
    void saveworksheet();

    // What the boxes hold now.
    WorksheetEntries entries() const;
    // Puts entries into the boxes and ticks (each tick set or cleared); a text longer than its
    // box allows is cut to fit. Returns whether any text was cut.
    bool setEntries(const WorksheetEntries &entries);

protected:
    void formMouseMove(Qt::MouseButtons buttons, QPointF twips) override;
};

} // namespace terravale
