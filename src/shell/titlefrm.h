#pragma once
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

class QPushButton;

namespace terravale {

// The title screen: product title, picture, credits, "OK" (or "Cancel") and "Exit".
class Titlefrm : public Screen {
    Q_OBJECT
public:
    Titlefrm();
    void formLoad() override;

    QWidget *Frame1;
    Label *Label4;
    Picture *Picture1;
    Label *Label1;
    Label *Label5;
    Label *Label3;
    QPushButton *Command1;
    QPushButton *Command2;
    Label *Label2;

    bool recovered() const { return m_recovered; }

    void Command1_Click();
    void Command2_Click();

private:
    bool m_recovered = false;
};

} // namespace terravale
