#include "welldone.h"

#include "rules/certificate.h"
#include "rules/results.h"
#include "wrong.h"

#include "platform/filechannel.h"
#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/printer.h"
#include "platform/twips.h"
#include "shell/frame.h"
#include "shell/printing.h"
#include "rules/session.h"
#include "shell/sound.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTimer>

namespace terravale {

namespace {
Label *sentence(QWidget *parent, float left, float top, float width, float height, double points)
{
    auto *label = new Label(parent);
    label->setGeometryTw(left, top, width, height);
    label->setFont(designFont(QStringLiteral("Times New Roman"), points));
    label->setForeColor(kYellow);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

QTimer *startupTimer(QObject *parent, int interval)
{
    auto *timer = new QTimer(parent);
    timer->setInterval(interval);
    return timer;
}
} // namespace

Welldone::Welldone() : Screen(QStringLiteral("Welldone"))
{
    // The screen's own font, in which the certificate measures the quiz title.
    setFont(designFont(QStringLiteral("Tahoma"), 8));

    Label4 = new Label(this);
    Label4->setGeometryTw(0, 120, 12000, 900);
    Label4->setCaption(QStringLiteral("Well Done!"));
    Label4->setFont(designFont(QStringLiteral("Tahoma"), 36, true));
    Label4->setForeColor(kYellow);
    Label4->setAlignment(Qt::AlignHCenter);

    Picture1 = new Picture(this, Picture::Mode::Clip);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipRect(5880, 1440, 4800, 3600));

    addLabelButtons(this, Label3,
                    {
                        {int(ResultsButton::PrintOrCheck), 240, 1800, 3765, 495, ""},
                        {int(ResultsButton::Exit), 10560, 7920, 1245, 495, "Exit"},
                    },
                    15.75, [this](int i) { Label3_Click(i); });
    Label3(ResultsButton::PrintOrCheck).hide();

    Label1 = sentence(this, 0, 5400, 12000, 855, 24);
    Label5 = sentence(this, 1680, 6000, 8640, 1335, 24);
    Label5->hide();
    Label6 = sentence(this, 0, 6240, 12000, 855, 24);
    Label6->setCaption(QStringLiteral("Read the Key Facts and try again."));

    Text1 = new QLineEdit(this);
    Text1->setGeometry(twipRect(3120, 6600, 5760, 615));
    Text1->setFont(designFont(QStringLiteral("Times New Roman"), 24));
    Text1->setMaxLength(25);
    Text1->hide();

    Label2 = sentence(this, 3120, 7440, 5775, 855, 18);
    Label2->setCaption(QStringLiteral("Enter your name in the box above before printing your certificate"));
    Label2->hide();

    Timer1 = startupTimer(this, 1);
    Timer2 = startupTimer(this, 10);
    Timer3 = startupTimer(this, 1);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });
    connect(Timer3, &QTimer::timeout, this, [this] { Timer3_Timer(); });
    setExitAction([this] { Label3_Click(int(ResultsButton::Exit)); });
}

void Welldone::formLoad()
{
    setupform(*this);
    const Session &s = session();
    const ScoreBand band = scoreBand(s.score, s.outof);
    Label1->setCaption(scoreSentence(s.score, s.outof));
    if (band == ScoreBand::Full) {
        Label6->hide();
        Label3(ResultsButton::PrintOrCheck).show();
        Label3(ResultsButton::PrintOrCheck).setCaption(QStringLiteral("Print Certificate"));
        Text1->show();
        Label2->show();
    } else {
        Label5->setCaption(QStringLiteral("Click the button above to check which questions you answered incorrectly."));
        Label3(ResultsButton::PrintOrCheck).setCaption(QStringLiteral("Check Wrong Answers"));
    }
    Timer1->start();
}

void Welldone::Timer1_Timer()
{
    try {
        Picture1->load(QStringLiteral("images\\wallsm.jpg"));
    } catch (const FileError &) {
        // The results stand without their picture.
    }
    Timer1->stop();
    Timer2->start();
}

void Welldone::Timer2_Timer()
{
    if (Text1->isVisible())
        Text1->setFocus();
    Timer2->stop();
    Label3(ResultsButton::PrintOrCheck).setOpaque(true);
    Label3(ResultsButton::Exit).setOpaque(true);
    Timer3->start();
}

void Welldone::Timer3_Timer()
{
    QRandomGenerator random{quint32(QDateTime::currentMSecsSinceEpoch())};
    if (session().soundon == 1) {
        const QString clip = pickRewardClip(session().score, [&](int count) { return int(random.bounded(count)); });
        if (!clip.isEmpty())
            playclip(clip);
    }
    Timer3->stop();
}

void Welldone::Label3_Click(int index)
{
    switch (ResultsButton(index)) {
    case ResultsButton::PrintOrCheck:
        if (session().score == session().outof) {
            try {
                Printpage();
            } catch (...) {
                msgBox(QStringLiteral("Printing has been cancelled."));
            }
            return;
        }
        form<Wrong>().showInFront();
        break;
    case ResultsButton::Exit:
        unloadForm<Wrong>();
        unloadForm<Welldone>();
        break;
    default:
        break;
    }
    playclip(kClickClip);
}

void Welldone::Printpage()
{
    const Session &s = session();
    const QFontMetricsF screenFont(font());
    // Anything but a printer's error passes to the caller, which reports printing as cancelled.
    printOrReport<PrintError>(
        [&](Printer &p) {
            printCertificate(p, {s.quiztitle, Text1->text(), s.score, s.outof},
                             [&](const QString &text) { return screenFont.horizontalAdvance(text) * kTwipsPerPixel; });
        },
        QStringLiteral("Your certificate is now printing."));
}

void Welldone::formMouseMove(Qt::MouseButtons, QPointF)
{
    clearButtons(Label3, 0, 1);
}

} // namespace terravale
