#pragma once
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

class QRadioButton;
class QTimer;

namespace terravale {

// The main menu: topics, teachers' entries, the sound switch, and the catalogue read.
class intro0 : public Screen {
    Q_OBJECT
public:
    intro0();
    void formLoad() override;

    Label *Label1;
    QRadioButton *Option1;
    QRadioButton *Option2;
    Picture *Image1;
    LabelArray Label2;
    Label *Label3;
    QTimer *Timer1;

    void Label2_Click(int index);
    void Option1_Click();
    void Option2_Click();
    void Timer1_Timer();

protected:
    void formMouseMove(Qt::MouseButtons buttons, QPointF twips) override;
};

} // namespace terravale
