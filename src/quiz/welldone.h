#pragma once
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

class QLineEdit;
class QTimer;

namespace terravale {

// The results screen's buttons, by their Label3 index.
enum class ResultsButton : int {
    PrintOrCheck = 0,   // "Print Certificate" after a full score, else "Check Wrong Answers"
    Exit = 1,
};

// The results screen after a quiz or an activity: the worded score, a start-up sequence
// (picture, focus and highlight, reward clip) and the certificate or wrong-answers button.
class Welldone : public Screen {
    Q_OBJECT
public:
    Welldone();
    void formLoad() override;

    Label *Label4;
    Picture *Picture1;
    LabelArray Label3;   // 0: "Print Certificate" / "Check Wrong Answers", 1: "Exit"
    Label *Label1;       // score sentence
    Label *Label5;       // hint line (quiz)
    Label *Label6;       // "Read the Key Facts and try again."
    QLineEdit *Text1;    // pupil's name for the certificate
    Label *Label2;
    QTimer *Timer1;
    QTimer *Timer2;
    QTimer *Timer3;

    void Label3_Click(int index);
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    // Prints the certificate; reports its own failures.
    void Printpage();

protected:
    void formMouseMove(Qt::MouseButtons buttons, QPointF twips) override;
};

} // namespace terravale
