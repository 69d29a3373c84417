#include "intro0.h"

#include "frame.h"
#include "navigation.h"
#include "rules/session.h"
#include "sound.h"
#include "titlefrm.h"

#include "topics/guide.h"
#include "topics/teacher.h"
#include "topics/topichub.h"
#include "rules/topictable.h"

#include "platform/fonts.h"
#include "platform/optionstyle.h"
#include "platform/twips.h"
#include "rules/catalogue.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace terravale {

namespace {
struct Entry {
    MenuEntry index;
    const char *caption;
    int left, top, width, height;
    double points;
    bool navy;
};

// A topic's entry is enabled when the topic table has a row for it.
constexpr Entry kEntries[] = {
    {MenuEntry::Atmosphere, "The Atmosphere", 120, 2880, 3075, 375, 12, false},
    {MenuEntry::Industry, "Industry", 120, 3600, 3075, 375, 12, false},
    {MenuEntry::SchoolEnvironment, "The School Environment", 120, 4320, 3075, 375, 12, false},
    {MenuEntry::HomeEnvironment, "The Home Environment", 120, 5040, 3075, 375, 12, false},
    {MenuEntry::Waterways, "Waterways", 120, 5760, 3075, 375, 12, false},
    {MenuEntry::Forests, "Forests and Woodlands", 3360, 2160, 3075, 375, 12, false},
    {MenuEntry::Rubbish, "Rubbish", 3360, 2880, 3075, 375, 12, false},
    {MenuEntry::RoadsAndTraffic, "Roads and Traffic", 3360, 3600, 3075, 375, 12, false},
    {MenuEntry::PopulationGrowth, "Population Growth", 3360, 4320, 3075, 375, 12, false},
    {MenuEntry::Biodiversity, "Biodiversity", 3360, 5040, 3075, 375, 12, false},
    {MenuEntry::EnvironmentalGroups, "Environmental Groups", 3360, 5760, 3075, 375, 12, false},
    {MenuEntry::Resources, "Resources", 120, 2160, 3075, 375, 12, false},
    {MenuEntry::Exit, "Exit", 10560, 7920, 1245, 495, 18, false},
    {MenuEntry::Wizard, "Multiple Choice Wizard", 6960, 5760, 4635, 495, 18, true},
    {MenuEntry::Catalogue, "Worksheet Catalogue", 6960, 6600, 4635, 495, 18, true},
    {MenuEntry::Acknowledgments, "Acknowledgments", 120, 7920, 3075, 495, 14.25, true},
    {MenuEntry::TeachersGuide, "Teachers' Guide", 120, 1080, 3075, 495, 14.25, true},
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

void showMainMenu()
{
    form<intro0>().showInFront();
}

MenuLook mainMenuLook()
{
    const intro0 &menu = form<intro0>();
    return {menu.Image1->picture(), menu.Label1->caption()};
}

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
        const int index = int(entry.index);
        Label *button = addLabelButton(
            this, Label2,
            {index, float(entry.left), float(entry.top), float(entry.width), float(entry.height), entry.caption},
            entry.points, [this](int i) { Label2_Click(i); }, Hover::Light,
            entry.navy ? QColor(0, 0, 128) : QColor(0, 0, 0));
        button->setEnabled(index >= int(MenuEntry::Resources) || topicForMenuEntry(index));
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
    setExitAction([this] { Label2_Click(int(MenuEntry::Exit)); });
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
    if (isCovered())
        return;   // a quick second click, made before the screen the first one opened appeared
    if (const TopicDef *topic = topicForMenuEntry(index))
        topicHub(*topic).showInFront();
    else
        openEntry(MenuEntry(index));
    playclip(kClickClip);
}

void intro0::openEntry(MenuEntry entry)
{
    switch (entry) {
    case MenuEntry::Exit:
        form<Titlefrm>().Command1->setText(QStringLiteral("Cancel"));
        form<Titlefrm>().showInFront();
        break;
    case MenuEntry::Wizard:
        form<wizard>().showInFront();
        break;
    case MenuEntry::Catalogue:
        form<worksheets>().showInFront();
        unloadForm<intro0>();
        break;
    case MenuEntry::Acknowledgments:
        openAcknowledgments();
        break;
    case MenuEntry::TeachersGuide:
        openGuide();
        break;
    default:
        break;
    }
}

void intro0::formMouseMove(Qt::MouseButtons, QPointF)
{
    clearButtons(Label2, 0, 10);
    clearButtons(Label2, 15, 20);
}

} // namespace terravale
