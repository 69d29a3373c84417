#pragma once
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

class QRadioButton;
class QTimer;

namespace terravale {

// The main menu's buttons, by their Label2 index (11 to 14 do not exist).
enum class MenuEntry : int {
    Atmosphere = 0,
    Industry = 1,
    SchoolEnvironment = 2,
    HomeEnvironment = 3,
    Waterways = 4,
    Forests = 5,
    Rubbish = 6,
    RoadsAndTraffic = 7,
    PopulationGrowth = 8,
    Biodiversity = 9,
    EnvironmentalGroups = 10,
    Resources = 15,
    Exit = 16,
    Wizard = 17,
    Catalogue = 18,
    Acknowledgments = 19,
    TeachersGuide = 20,
};

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

private:
    // The entries that are not topics.
    void openEntry(MenuEntry entry);

protected:
    void formMouseMove(Qt::MouseButtons buttons, QPointF twips) override;
};

} // namespace terravale
