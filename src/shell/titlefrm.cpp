#include "titlefrm.h"

#include "frame.h"
#include "grey.h"
#include "navigation.h"
#include "sound.h"

#include "platform/fonts.h"
#include "platform/twips.h"

#include <QApplication>
#include <QPushButton>

namespace terravale {

namespace {
const QColor kTitleGrey(192, 192, 192);

Label *creditLine(QWidget *parent, QRect geometry, const QString &text, const QFont &font, const QColor &color)
{
    auto *label = new Label(parent);
    label->setGeometry(geometry);
    label->setCaption(text);
    label->setFont(font);
    label->setForeColor(color);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

QPushButton *pushButton(QWidget *parent, QRect geometry, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    button->setFont(designFont(QStringLiteral("Tahoma"), 8.25));
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, kTitleGrey);
    button->setPalette(palette);
    return button;
}
} // namespace

Titlefrm::Titlefrm() : Screen(QStringLiteral("Titlefrm"))
{
    setWindowTitle(QStringLiteral(" "));
    setBackColor(kTitleGrey);
    setFixedSize(px(5460), px(6570));

    Frame1 = new QWidget(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(0, 0, px(5460), px(6570));
    Frame1->setAutoFillBackground(true);
    QPalette framePalette = Frame1->palette();
    framePalette.setColor(QPalette::Window, kTitleGrey);
    Frame1->setPalette(framePalette);
    Frame1->setMouseTracking(true);

    const QColor green(0, 128, 0);
    const QColor blue(0, 0, 255);
    Label4 = creditLine(Frame1, twipRect(60, 120, 5355, 1305), QStringLiteral(" Terravale"),
                        designFont(QStringLiteral("Times New Roman"), 24, true), green);
    Picture1 = new Picture(Frame1, Picture::Mode::Clip);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipRect(300, 1200, 4800, 3600));
    Label1 = creditLine(Frame1, twipRect(360, 4980, 4695, 375), QStringLiteral("Learning about our environment"),
                        designFont(QStringLiteral("Times New Roman"), 14.25), blue);
    Label5 = creditLine(Frame1, twipRect(480, 5310, 4455, 375), QStringLiteral("for pupils and teachers"),
                        designFont(QStringLiteral("Times New Roman"), 12), blue);
    Label3 = creditLine(Frame1, twipRect(480, 5640, 4455, 375), QStringLiteral("in primary schools"),
                        designFont(QStringLiteral("Times New Roman"), 12), blue);
    Command1 = pushButton(Frame1, twipRect(1320, 6000, 1335, 375), QStringLiteral("OK"));
    Command2 = pushButton(Frame1, twipRect(2760, 6000, 1335, 375), QStringLiteral("Exit"));
    Command1->setDefault(true);
    // The footer sits in the 195 twips below the buttons: at its designed top (6420) the client
    // area's edge cut off the lower half of its letters.
    Label2 = creditLine(Frame1, twipRect(0, 6375, 5415, 195), QStringLiteral("\u00A9 Quillmark Publishing Ltd"),
                        designFont(QStringLiteral("Arial"), 8.25), green);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    setExitAction([this] { Command2_Click(); });
}

void Titlefrm::formLoad()
{
    try {
        centreOnDisplay();
        // The backdrop comes over every other screen: only this screen is seen on it. (It stays
        // below every window, so the others are hidden instead; they show again when shown in front.)
        // A minimised screen is not seen either; it stays minimised, for its button to bring back.
        form<Grey>().showBackdrop();
        for (Screen *other : loadedForms())
            if (other != this && !other->isBackdrop() && !other->isMinimized())
                other->hide();
        Picture1->load(QStringLiteral("images\\wallsm.jpg"));
    } catch (...) {
        m_recovered = true;
        setupform(*this);
        Frame1->raise();
        try {
            Picture1->load(QStringLiteral("images\\wallsm.jpg"));
        } catch (...) {
            // Without the picture the title screen still works.
        }
    }
}

void Titlefrm::Command1_Click()
{
    showMainMenu();
    unloadForm<Titlefrm>();
    playclip(kClickClip);
}

void Titlefrm::Command2_Click()
{
    playclip(kClickClip);
    QCoreApplication::exit(0);
}

} // namespace terravale
