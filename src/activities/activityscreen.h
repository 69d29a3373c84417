#pragma once
#include "rules/activitydef.h"
#include "rules/dragengine.h"

#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

#include <QString>

namespace terravale {

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

} // namespace terravale
