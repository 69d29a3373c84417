#pragma once
#include "platform/label.h"
#include "platform/screen.h"

namespace terravale {

// The wrong-answers list has one button, Label3(1).
constexpr int kWrongExit = 1;

// The wrong-answers list after a quiz; the quiz fills it while scoring.
class Wrong : public Screen {
    Q_OBJECT
public:
    Wrong();
    void formLoad() override;

    Label *Label6;     // the set's title
    Label *Label4;
    LabelArray Label2; // 0..9, one line per wrong answer, hidden until filled
    Label *Label5;
    LabelArray Label3; // only kWrongExit (1), "Exit"

    void Label3_Click(int index);

    // Sets and shows wrong-answer line `index`, in a smaller font if it would not fit its line.
    void showLine(int index, const QString &text);
};

} // namespace terravale
