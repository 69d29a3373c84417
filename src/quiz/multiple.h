#pragma once
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

class QRadioButton;

namespace terravale {

using OptionArray = ControlArray<QRadioButton>;

// The quiz's buttons, by their Label3 index.
enum class QuizButton : int { Previous = 0, Next = 1, Exit = 2, PrintWorksheet = 3 };

// The quiz: ten questions of the loaded set, one at a time, then scoring and the results screen.
class multiple : public Screen {
    Q_OBJECT
public:
    multiple();
    void formLoad() override;

    Label *Label1;
    Label *Label5;       // heading, set by the opening screen
    Label *Label6;       // set title
    Picture *Picture1;   // picture, set by the opening screen
    Label *Label4;       // "Question n"
    Label *Label2;       // question text
    OptionArray Option1; // 1..4 the choices A..D; 5 the empty choice, under Picture1
    LabelArray Label3;   // 0 previous, 1 next / check score, 2 exit, 3 print worksheet

    // Shows question questno.
    void showquest();
    // Prints the loaded set as a worksheet; reports its own failures.
    void Printpage();

    void Label3_Click(int index);
    void Option1_Click(int index);

    // The number (1..5) of the selected option button, 0 when none is.
    int selectedOption() const;

protected:
    void formMouseMove(Qt::MouseButtons buttons, QPointF twips) override;
};

} // namespace terravale
