#include "wizard.h"

#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/twips.h"
#include "shell/frame.h"
#include "rules/session.h"
#include "shell/sound.h"

#include <QCheckBox>
#include <QLineEdit>

namespace terravale {

namespace {
constexpr int kEnter = 13;

Label *caption(QWidget *parent, int index, const QString &text, double left, double top, double width,
               double height, double points)
{
    auto *label = new Label(parent, index);
    label->setGeometryTw(float(left), float(top), float(width), float(height));
    label->setCaption(text);
    label->setForeColor(kYellow);
    label->setFont(designFont(QStringLiteral("Tahoma"), points, true));
    return label;
}

QLineEdit *textBox(QWidget *parent, double left, double top, double width, double height, double points,
                   int maxLength)
{
    auto *box = new QLineEdit(parent);
    box->setGeometry(twipRect(left, top, width, height));
    box->setFont(designFont(QStringLiteral("Times New Roman"), points));
    box->setMaxLength(maxLength);
    return box;
}
} // namespace

wizard::wizard() : Screen(QStringLiteral("wizard"))
{
    Label1.add(0, caption(this, 0, QStringLiteral("Multiple Choice Wizard"), 0, 0, 4320, 540, 18));
    Label1.add(1, caption(this, 1, QStringLiteral("Worksheet Title"), 5160, 120, 2400, 375, 14.25));
    Text1 = textBox(this, 7560, 120, 4215, 375, 12, 25);
    Text1->setObjectName(QStringLiteral("Text1"));
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Text1_KeyPress(kEnter); });

    for (int q = 0; q < 10; ++q) {
        const int column = q / 5;
        const double x0 = 240 + 5880 * column;
        const double y0 = 600 + 1440 * (q % 5);
        Label1.add(2 + q, caption(this, 2 + q, QStringLiteral("Question") + numText(q + 1), x0, y0, 2400, 255, 9.75));
        QLineEdit *question = textBox(this, x0, y0 + 240, 5655, 375, 12, 60);
        question->setObjectName(QStringLiteral("Text2_%1").arg(q));
        Text2.add(q, question);
        connect(question, &QLineEdit::returnPressed, this, [this, q] { Text2_KeyPress(q, kEnter); });
        for (int k = 0; k < 4; ++k) {
            const int i = 4 * q + k;
            const double kc = k % 2;
            const int pair = k / 2;
            const double row = y0 + 630 + 330 * pair;
            Label *letter = caption(this, 12 + i, QString(QChar(u'A' + k)) + QLatin1Char('.'), x0 - 180 + 2850 * kc,
                                    row, 375, 330, 12);
            letter->setAlignment(Qt::AlignRight);
            Label1.add(12 + i, letter);
            auto *tick = new QCheckBox(this);
            tick->setGeometry(twipRect(x0 + 240 + 2850 * kc, row, 255, 315));
            tick->setObjectName(QStringLiteral("Check1_%1").arg(i));
            Check1.add(i, tick);
            QLineEdit *choice = textBox(this, x0 + 480 + 2880 * kc, row, 2295, 330, 9.75, 30);
            choice->setObjectName(QStringLiteral("Text3_%1").arg(i));
            Text3.add(i, choice);
            connect(choice, &QLineEdit::returnPressed, this, [this, i] { Text3_KeyPress(i, kEnter); });
        }
    }

    addLabelButtons(this, Label3,
                    {
                        {int(WizardButton::Exit), 10560, 7920, 1245, 495, "Exit"},
                        {int(WizardButton::SaveWorksheet), 240, 7920, 3165, 495, "Save Worksheet"},
                    },
                    15.75, [this](int i) { Label3_Click(i); });
    setExitAction([this] { Label3_Click(int(WizardButton::Exit)); });

    // Title, then each question and its four choices, then the ticks in index order.
    QWidget *previous = Text1;
    auto chain = [&previous](QWidget *next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (int q = 0; q < 10; ++q) {
        chain(&Text2(q));
        for (int k = 0; k < 4; ++k)
            chain(&Text3(4 * q + k));
    }
    for (int i = 0; i < 40; ++i)
        chain(&Check1(i));
}

void wizard::formLoad()
{
    setupform(*this);
    // The ticks draw no fill of their own, so the screen's blue shows behind them.
    for (const auto &[index, tick] : Check1.items()) {
        QPalette palette = tick->palette();
        palette.setColor(QPalette::Window, kScreenBlue);
        tick->setPalette(palette);
    }
    Text1->setFocus();
}

void wizard::Text1_KeyPress(int keyAscii)
{
    if (keyAscii == kEnter)
        Text2(0).setFocus();
}

void wizard::Text2_KeyPress(int index, int keyAscii)
{
    if (keyAscii == kEnter)
        Text3(4 * index).setFocus();
}

void wizard::Text3_KeyPress(int index, int keyAscii)
{
    if (keyAscii != kEnter)
        return;
    if (index % 4 != 3)
        Text3(index + 1).setFocus();
    else if (index <= 38)
        Text2((index + 1) / 4).setFocus();
}

void wizard::Label3_Click(int index)
{
    switch (WizardButton(index)) {
    case WizardButton::Exit:
        unloadForm<wizard>();
        break;
    case WizardButton::SaveWorksheet:
        genwork();
        break;
    default:
        break;
    }
    playclip(kClickClip);
}

WorksheetEntries wizard::entries() const
{
    WorksheetEntries result;
    result.title = Text1->text();
    for (int q = 0; q < 10; ++q)
        result.questions[q] = Text2(q).text();
    for (int i = 0; i < 40; ++i) {
        result.choices[i] = Text3(i).text();
        result.ticks[i] = Check1(i).isChecked();
    }
    return result;
}

bool wizard::setEntries(const WorksheetEntries &entries)
{
    bool shortened = false;
    auto fill = [&shortened](QLineEdit &box, const QString &text) {
        shortened = shortened || text.size() > box.maxLength();
        box.setText(text);
    };
    fill(*Text1, entries.title);
    for (int q = 0; q < 10; ++q)
        fill(Text2(q), entries.questions[q]);
    for (int i = 0; i < 40; ++i) {
        fill(Text3(i), entries.choices[i]);
        Check1(i).setChecked(entries.ticks[i]);
    }
    return shortened;
}

void wizard::genwork()
{
    const QString problem = validationMessage(entries());
    if (!problem.isEmpty()) {
        msgBox(problem);
        return;
    }
    saveworksheet();
}

void wizard::saveworksheet()
{
    msgBox(storeWorksheet(session(), entries()));
}

void wizard::formMouseMove(Qt::MouseButtons, QPointF)
{
    clearButtons(Label3, 0, 1);
}

} // namespace terravale
