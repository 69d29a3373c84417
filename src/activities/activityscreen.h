#pragma once
#include "rules/dragengine.h"

#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

#include <QColor>
#include <QString>
#include <optional>
#include <vector>

namespace terravale {

// A text label of an activity screen that no handler changes (the heading's text aside).
struct StaticTextDef {
    enum Control { Label5, Label6, Label7, Label8, Label9 };
    Control control;
    int index;                 // element of the control array; -1 for a single control
    QString text;
    TwRect rect;
    QString family;
    double points;
    bool bold;
    QColor color;
    Qt::Alignment align;
};

struct ActivityItemDef {
    QString answer;            // text of target box i; moves to answer label i at load
    float boxLeft, boxTop;
    float slotLeft, slotTop;   // answer label i's start position
};

struct PictureDef {
    QString file;
    TwRect frame;
};

// Everything that sets one activity apart from the others.
struct ActivityDef {
    QString form;
    float itemWidth, itemHeight;
    double labelPoints;
    Qt::Alignment labelAlign;
    std::vector<ActivityItemDef> items;
    std::vector<PictureDef> pictures;
    std::vector<StaticTextDef> texts;
    std::optional<QColor> background;   // replaces the standard colour after the frame
};

// An activity's buttons, by their Label3 index.
enum class ActivityButton : int { Exit = 0, StartAgain = 1, CheckScore = 2 };

// A drag-and-drop activity screen: answer labels dragged from home slots into target boxes,
// with "Exit", "Start Again" and "Check Score".
class ActivityScreen : public Screen {
    Q_OBJECT
public:
    explicit ActivityScreen(const ActivityDef &def);
    void formLoad() override;

    LabelArray Label1;               // target boxes
    LabelArray Label2;               // answer labels
    LabelArray Label3;               // 0 "Exit", 1 "Start Again", 2 "Check Score"
    LabelArray Label4;               // home slots
    LabelArray Label5;               // sentence endings (an ordering activity)
    Label *Label6 = nullptr;         // heading: the hub's title
    Label *Label7 = nullptr;
    LabelArray Label8;               // index 0 alone where the screen has a single Label8
    Label *Label9 = nullptr;
    ControlArray<Picture> Image1;

    const DragEngine &engine() const { return m_engine; }

    // x, y: pointer relative to the label's top-left corner, twips; button: 1 left, 2 right, 4 middle.
    void Label2_MouseMove(int index, int button, float x, float y);
    void Label2_MouseUp(int index);
    void Label3_Click(int index);

protected:
    void formMouseMove(Qt::MouseButtons buttons, QPointF twips) override;

private:
    void syncLabel(int index);

    ActivityDef m_def;
    DragEngine m_engine;
};

// The activity screen of def (its form name is def.form), loaded if it is not; the loaded one of a
// form name, or null.
ActivityScreen &activityScreen(const ActivityDef &def);
ActivityScreen *loadedActivity(const QString &form);

// The rules object of an activity: its boxes, and its labels at their start positions.
DragEngine engineFor(const ActivityDef &def);

} // namespace terravale
