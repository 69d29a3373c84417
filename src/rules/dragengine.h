#pragma once
#include <vector>

namespace terravale {

// A rectangle in twips, single precision as the controls keep it.
struct TwRect {
    float left = 0, top = 0, width = 0, height = 0;
};

// True when (x, y) lies strictly inside the snap window of r: r widened to the left by half its
// width and upwards by half its height, bounds computed in single precision.
bool inSnapWindow(const TwRect &r, float x, float y);

// The rules of a drag-and-drop activity, without widgets: N answer labels, each with its own
// target box and home slot (label i belongs in box i). Labels are in a box only by position.
class DragEngine {
public:
    struct Item {
        TwRect box;     // target box
        TwRect label;   // answer label at its start position; its home slot takes this rectangle
    };

    // The screen's client area: a label released with no part inside it is out of reach.
    static constexpr TwRect kScreenArea{0, 0, 12000, 9000};

    DragEngine() = default;
    explicit DragEngine(const std::vector<Item> &items, const TwRect &area = kScreenArea);

    int count() const { return int(m_boxes.size()); }
    const TwRect &box(int i) const { return m_boxes.at(i); }
    const TwRect &slot(int i) const { return m_slots.at(i); }
    const TwRect &label(int i) const { return m_labels.at(i); }
    void moveLabel(int i, float left, float top);

    // Pointer movement over label i with (x, y) relative to its top-left corner: with the left
    // button alone (buttons == 1) the label's centre moves onto the pointer. Returns whether it moved.
    bool drag(int i, int buttons, float x, float y);

    // Press on label i: remembers where it is picked up from.
    void pickUp(int i);

    // Release over label i. A label with no part left inside the screen goes back to where it was
    // picked up (its start, if never picked up) and 0 is returned. Otherwise tests box 0, slot 0,
    // box 1, slot 1, ... each against the position the tests before left; returns how many windows
    // took the label (0: it stays where it is).
    int drop(int i);

    // Number of (label j, box k) pairs with label j exactly on box k.
    int pairsInBoxes() const;
    // Every label counted in some box: pairsInBoxes() equals N.
    bool complete() const { return pairsInBoxes() == count(); }

    // Score: labels sitting exactly in their own box.
    int mark() const;

    // Every label back to its home slot.
    void startAgain();

private:
    bool offScreen(const TwRect &r) const;

    TwRect m_area;
    std::vector<TwRect> m_boxes;
    std::vector<TwRect> m_slots;
    std::vector<TwRect> m_labels;
    std::vector<TwRect> m_pickedUp;   // where each label was last picked up from
};

} // namespace terravale
