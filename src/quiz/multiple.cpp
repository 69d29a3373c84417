#include "multiple.h"

#include "rules/questionset.h"
#include "rules/scoring.h"
#include "textfit.h"
#include "welldone.h"
#include "rules/worksheetprint.h"
#include "wrong.h"

#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/optionstyle.h"
#include "platform/printer.h"
#include "platform/twips.h"
#include "shell/frame.h"
#include "shell/printing.h"
#include "rules/session.h"
#include "shell/sound.h"

#include <QRadioButton>

namespace terravale {

namespace {
Label *textLabel(QWidget *parent, float left, float top, float width, float height, const QFont &font,
                 const QColor &colour, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *label = new Label(parent);
    label->setGeometryTw(left, top, width, height);
    label->setFont(font);
    label->setForeColor(colour);
    label->setAlignment(alignment);
    return label;
}

QFont times(double points) { return designFont(QStringLiteral("Times New Roman"), points); }
} // namespace

multiple::multiple() : Screen(QStringLiteral("multiple"))
{
    Label1 = textLabel(this, 120, 120, 6240, 900, designFont(QStringLiteral("Tahoma"), 36, true), kYellow,
                       Qt::AlignHCenter);
    Label1->setCaption(QStringLiteral("Multiple Choice"));
    Label5 = textLabel(this, 120, 1200, 6465, 585, times(24), QColor(0, 255, 0), Qt::AlignHCenter);
    Label6 = textLabel(this, 120, 1920, 6465, 705, times(24), QColor(128, 128, 255), Qt::AlignHCenter);
    Label4 = textLabel(this, 360, 3240, 5415, 615, times(24), kYellow);
    Label2 = textLabel(this, 960, 3960, 9840, 1455, times(30), kYellow, Qt::AlignHCenter);

    for (int i = 1; i <= 5; ++i) {
        auto *option = new QRadioButton(this);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        if (i <= 4)
            option->setGeometry(twipRect(2400, 5400 + 600 * (i - 1), 6975, 525));
        else
            option->setGeometry(twipRect(0, 0, 495, 375));
        option->setFont(times(20.25));
        QPalette palette = option->palette();
        palette.setColor(QPalette::WindowText, kYellow);
        palette.setColor(QPalette::Window, kScreenBlue);
        option->setPalette(palette);
        styleOption(option);
        Option1.add(i, option);
        connect(option, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }

    // Drawn over the empty-choice button, which hides beneath it.
    Picture1 = new Picture(this, Picture::Mode::Fit);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipRect(6840, 240, 4800, 1620));

    addLabelButtons(this, Label3,
                    {
                        {int(QuizButton::Previous), 2040, 7920, 3765, 495, "<< Previous Question"},
                        {int(QuizButton::Next), 6000, 7920, 3765, 495, "Next Question >>"},
                        {int(QuizButton::Exit), 10560, 7920, 1245, 495, "Exit"},
                        {int(QuizButton::PrintWorksheet), 7920, 1920, 3045, 495, "Print Worksheet"},
                    },
                    15.75, [this](int i) { Label3_Click(i); });
    Label3(QuizButton::Previous).hide();
    setExitAction([this] { Label3_Click(int(QuizButton::Exit)); });
}

void multiple::formLoad()
{
    setupform(*this);
    Session &s = session();
    s.score = 0;
    s.outof = 10;
    s.questno = 1;
    Option1(5).move(twipPoint(twips(Picture1->x()) + 240, twips(Picture1->y()) + 240));
    for (int i = 1; i <= 4; ++i) {
        QPalette palette = Option1(i).palette();
        palette.setColor(QPalette::Window, kScreenBlue);
        Option1(i).setPalette(palette);
    }
    Label6->setCaption(s.set.title);
    showquest();
}

void multiple::showquest()
{
    const Session &s = session();
    const int q = s.questno;
    Option1(5).setChecked(true);
    Label3(QuizButton::Previous).show();
    Label3(QuizButton::Next).setCaption(QStringLiteral("Next Question >>"));
    Label4->setCaption(QStringLiteral("Question") + numText(q));
    Label2->setCaption(s.set.quest.at(q));
    Label2->setFont(fittedFont(times(30), Label2->caption(), Label2->size(), true));
    const std::array<QString, 5> choices{QString(), s.set.answera.at(q), s.set.answerb.at(q), s.set.answerc.at(q),
                                         s.set.answerd.at(q)};
    for (int i = 1; i <= 4; ++i) {
        QRadioButton &option = Option1(i);
        option.setText(choices[i]);
        // The room is that of the full-size font: a smaller fitted font needs less.
        const QFont full = times(20.25);
        const int room = optionTextRoom(QFontMetrics(full).height());
        option.setFont(fittedFont(full, choices[i], option.size() - QSize(room, 0), false));
    }
    if (q == 1)
        Label3(QuizButton::Previous).hide();
    if (q == 10)
        Label3(QuizButton::Next).setCaption(QStringLiteral("Check Score >>"));
    if (Option1(5).isVisibleTo(this))
        Option1(5).setFocus();
}

int multiple::selectedOption() const
{
    for (const auto &[index, option] : Option1.items())
        if (option->isChecked())
            return index;
    return 0;
}

void multiple::Option1_Click(int)
{
    playclip(QStringLiteral("wav\\typekey.wav"));
}

void multiple::Label3_Click(int index)
{
    Session &s = session();
    switch (QuizButton(index)) {
    case QuizButton::Previous:
        s.questno -= 1;
        showquest();
        break;
    case QuizButton::Next: {
        s.gotright.at(s.questno) = markQuestion(s.set.correct.at(s.questno), selectedOption());
        s.questno += 1;
        if (s.questno < 11) {
            showquest();
            break;
        }
        const QuizResult result = scoreQuiz(s.gotright, s.set.quest);
        s.score += result.score;
        // Results and wrong answers of an earlier run, if still loaded, make way for this run's.
        Wrong &wrong = freshForm<Wrong>();
        for (int w = 0; w < result.wrongLines.size(); ++w) {
            wrong.showLine(w, result.wrongLines.at(w));
        }
        s.quiztitle = Label5->caption();
        wrong.Label6->setCaption(Label6->caption());
        Welldone &results = freshForm<Welldone>();
        results.Label6->hide();
        results.Label5->show();
        results.Label3(ResultsButton::PrintOrCheck).show();
        results.showInFront();
        unloadForm<multiple>();
        break;
    }
    case QuizButton::Exit:
        unloadForm<multiple>();
        break;
    case QuizButton::PrintWorksheet:
        Printpage();
        break;
    default:
        break;
    }
    playclip(kClickClip);
}

void multiple::Printpage()
{
    QuestionSet set = session().set;
    set.title = Label6->caption();
    printOrReport([&](Printer &p) { printWorksheet(p, Label5->caption(), set); },
                  QStringLiteral("Your worksheet is now printing."));
}

void multiple::formMouseMove(Qt::MouseButtons, QPointF)
{
    clearButtons(Label3, 0, 3);
}

} // namespace terravale
