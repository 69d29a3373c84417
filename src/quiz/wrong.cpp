#include "wrong.h"

#include "textfit.h"
#include "welldone.h"

#include "platform/fonts.h"
#include "shell/frame.h"

namespace terravale {

namespace {
Label *textLine(QWidget *parent, float left, float top, float width, float height, double points,
                const QColor &colour = kYellow)
{
    auto *label = new Label(parent);
    label->setGeometryTw(left, top, width, height);
    label->setFont(designFont(QStringLiteral("Tahoma"), points, true));
    label->setForeColor(colour);
    return label;
}
} // namespace

Wrong::Wrong() : Screen(QStringLiteral("Wrong"))
{
    Label6 = textLine(this, 0, 120, 12000, 540, 20.25);
    Label6->setAlignment(Qt::AlignHCenter);
    Label4 = textLine(this, 240, 960, 12000, 540, 15.75);
    Label4->setCaption(QStringLiteral("You answered the following questions incorrectly."));
    for (int i = 0; i <= 9; ++i) {
        // 12000 wide as designed would run 120 twips past the screen's edge: stop at the edge.
        Label *line = textLine(this, 120, 1680 + 600 * i, 11880, 540, 15.75, QColor(255, 255, 255));
        line->hide();
        Label2.add(i, line);
    }
    Label5 = textLine(this, 0, 7920, 12000, 540, 20.25);
    Label5->setAlignment(Qt::AlignHCenter);
    Label5->setCaption(QStringLiteral("Read the Key Facts and try again."));

    addLabelButton(this, Label3, {kWrongExit, 10560, 7920, 1245, 495, "Exit"}, 15.75,
                   [this](int i) { Label3_Click(i); }, Hover::None);
    setExitAction([this] { Label3_Click(kWrongExit); });
}

void Wrong::formLoad()
{
    setupform(*this);
}

void Wrong::showLine(int index, const QString &text)
{
    Label &line = Label2(index);
    line.setCaption(text);
    line.setFont(fittedFont(designFont(QStringLiteral("Tahoma"), 15.75, true), text, line.size(), true));
    line.show();
}

void Wrong::Label3_Click(int)
{
    unloadForm<Welldone>();
    unloadForm<Wrong>();
}

} // namespace terravale
