#pragma once
#include "rules/dragengine.h"

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

// The rules object of an activity: its boxes, and its labels at their start positions.
DragEngine engineFor(const ActivityDef &def);

} // namespace terravale
