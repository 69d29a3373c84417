#include "intro0.h"

#include "frame.h"
#include "session.h"
#include "sound.h"
#include "titlefrm.h"

#include "topics/guide.h"
#include "topics/resources.h"
#include "topics/rubbish.h"
#include "topics/teacher.h"

#include "platform/fonts.h"
#include "platform/optionstyle.h"
#include "platform/twips.h"
#include "worksheets/catalogue.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace terravale {

namespace {
struct Entry {
    int index;
    const char *caption;
    int left, top, width, height;
    double points;
    bool navy;
    bool enabled;
};

// Indexes 11 to 14 do not exist.
constexpr Entry kEntries[] = {
    {0, "The Atmosphere", 120, 2880, 3075, 375, 12, false, false},
    {1, "Industry", 120, 3600, 3075, 375, 12, false, false},
    {2, "The School Environment", 120, 4320, 3075, 375, 12, false, false},
    {3, "The Home Environment", 120, 5040, 3075, 375, 12, false, false},
    {4, "Waterways", 120, 5760, 3075, 375, 12, false, false},
    {5, "Forests and Woodlands", 3360, 2160, 3075, 375, 12, false, false},
    {6, "Rubbish", 3360, 2880, 3075, 375, 12, false, true},
    {7, "Roads and Traffic", 3360, 3600, 3075, 375, 12, false, false},
    {8, "Population Growth", 3360, 4320, 3075, 375, 12, false, false},
    {9, "Biodiversity", 3360, 5040, 3075, 375, 12, false, false},
    {10, "Environmental Groups", 3360, 5760, 3075, 375, 12, false, false},
    {15, "Resources", 120, 2160, 3075, 375, 12, false, true},
    {16, "Exit", 10560, 7920, 1245, 495, 18, false, true},
    {17, "Multiple Choice Wizard", 6960, 5760, 4635, 495, 18, true, true},
    {18, "Worksheet Catalogue", 6960, 6600, 4635, 495, 18, true, true},
    {19, "Acknowledgments", 120, 7920, 3075, 495, 14.25, true, true},
    {20, "Teachers' Guide", 120, 1080, 3075, 495, 14.25, true, true},
};

QRadioButton *soundOption(QWidget *parent, QRect geometry, const QString &caption)
{
    auto *option = new QRadioButton(caption, parent);
    option->setGeometry(geometry);
    option->setFont(designFont(QStringLiteral("Tahoma"), 9.75, true));
    option->setStyleSheet(QStringLiteral("QRadioButton { color: rgb(255, 255, 0); }"));
    styleOption(option);
    return option;
}
} // namespace

intro0::intro0() : Screen(QStringLiteral("intro0"))
{
    Label1 = new Label(this);
    Label1->setGeometry(twipRect(120, 120, 10440, 900));
    Label1->setCaption(QStringLiteral("Terravale"));
    Label1->setForeColor(QColor(255, 255, 0));
    Label1->setFont(designFont(QStringLiteral("Tahoma"), 30, true));
    Label1->setAlignment(Qt::AlignHCenter);

    Option1 = soundOption(this, twipRect(10680, 120, 1455, 255), QStringLiteral("Sound On"));
    Option2 = soundOption(this, twipRect(10680, 480, 1455, 255), QStringLiteral("Sound Off"));
    Option1->setChecked(true);

    Image1 = new Picture(this, Picture::Mode::AutoSize);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setBorder(true);
    Image1->setGeometry(twipRect(6840, 1680, 4800, 3600));

    for (const Entry &entry : kEntries) {
        auto *button = new Label(this, entry.index);
        button->setGeometryTw(entry.left, entry.top, entry.width, entry.height);
        button->setCaption(QString::fromLatin1(entry.caption));
        button->makeButton(entry.points, entry.navy ? QColor(0, 0, 128) : QColor(0, 0, 0));
        button->setEnabled(entry.enabled);
        Label2.add(entry.index, button);
        connect(button, &Label::clicked, this, [this](int i) { Label2_Click(i); });
        connect(button, &Label::mouseMoved, this, [this](int i, Qt::MouseButtons, QPointF) { lightButton(Label2, i); });
    }

    Label3 = new Label(this);
    Label3->setGeometry(twipRect(0, 8280, 12000, 375));
    Label3->setCaption(QStringLiteral("Quillmark Publishing Ltd \u2022 Learning about our environment"));
    Label3->setForeColor(QColor(255, 255, 0));
    Label3->setFont(designFont(QStringLiteral("Tahoma"), 9.75));
    Label3->setAlignment(Qt::AlignHCenter);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(Option1, &QRadioButton::clicked, this, [this] { Option1_Click(); });
    connect(Option2, &QRadioButton::clicked, this, [this] { Option2_Click(); });
    setExitAction([this] { Label2_Click(16); });
}

void intro0::formLoad()
{
    setupform(*this);
    try {
        Image1->load(QStringLiteral("Images\\wallsm.jpg"));
    } catch (...) {
        // The menu works without its picture.
    }
    for (QRadioButton *option : {Option1, Option2}) {
        option->setStyleSheet(QStringLiteral("QRadioButton { color: rgb(255, 255, 0); background-color: %1; }")
                                  .arg(kScreenBlue.name()));
    }
    session().soundon = 1;
    Timer1->start();
}

void intro0::Option1_Click()
{
    session().soundon = 1;
}

void intro0::Option2_Click()
{
    session().soundon = 0;
}

void intro0::Timer1_Timer()
{
    readCatalogueQuietly(session());
    Timer1->stop();
}

void intro0::Label2_Click(int index)
{
    switch (index) {
    case 6:
        form<rubbish>().showInFront();
        break;
    case 15:
        form<resources>().showInFront();
        break;
    case 16:
        form<Titlefrm>().Command1->setText(QStringLiteral("Cancel"));
        form<Titlefrm>().showInFront();
        break;
    case 17:
        form<wizard>().showInFront();
        break;
    case 18:
        form<worksheets>().showInFront();
        unloadForm<intro0>();
        break;
    case 19:
        openAcknowledgments();
        break;
    case 20:
        openGuide();
        break;
    default:
        break;
    }
    playclip(QStringLiteral("wav\\click.wav"));
}

void intro0::formMouseMove(Qt::MouseButtons, QPointF)
{
    clearButtons(Label2, 0, 10);
    clearButtons(Label2, 15, 20);
}

} // namespace terravale
