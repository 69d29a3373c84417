#include "dragengine.h"

namespace terravale {

bool inSnapWindow(const TwRect &r, float x, float y)
{
    const float left = r.left - r.width / 2.0f;
    const float right = r.left + r.width;
    const float top = r.top - r.height / 2.0f;
    const float bottom = r.top + r.height;
    return left < x && x < right && top < y && y < bottom;
}

DragEngine::DragEngine(const std::vector<Item> &items, const TwRect &area) : m_area(area)
{
    for (const Item &item : items) {
        m_boxes.push_back(item.box);
        m_labels.push_back(item.label);
        m_slots.push_back(item.label);
    }
    m_pickedUp = m_labels;
}

bool DragEngine::offScreen(const TwRect &r) const
{
    return r.left + r.width <= m_area.left || r.left >= m_area.left + m_area.width
        || r.top + r.height <= m_area.top || r.top >= m_area.top + m_area.height;
}

void DragEngine::pickUp(int i)
{
    m_pickedUp.at(i) = m_labels.at(i);
}

void DragEngine::moveLabel(int i, float left, float top)
{
    TwRect &l = m_labels.at(i);
    l.left = left;
    l.top = top;
}

bool DragEngine::drag(int i, int buttons, float x, float y)
{
    if (buttons != 1)
        return false;
    TwRect &l = m_labels.at(i);
    l.left = l.left + x - l.width / 2.0f;
    l.top = l.top + y - l.height / 2.0f;
    return true;
}

int DragEngine::drop(int d)
{
    TwRect &l = m_labels.at(d);
    if (offScreen(l)) {
        l.left = m_pickedUp.at(d).left;
        l.top = m_pickedUp.at(d).top;
        return 0;
    }
    int snaps = 0;
    const auto test = [&](const TwRect &r) {
        if (inSnapWindow(r, l.left, l.top)) {
            l.left = r.left;
            l.top = r.top;
            ++snaps;
        }
    };
    for (int i = 0; i < count(); ++i) {
        test(m_boxes[i]);
        test(m_slots[i]);
    }
    return snaps;
}

int DragEngine::pairsInBoxes() const
{
    int pairs = 0;
    for (const TwRect &l : m_labels)
        for (const TwRect &b : m_boxes)
            if (l.left == b.left && l.top == b.top)
                ++pairs;
    return pairs;
}

int DragEngine::mark() const
{
    int score = 0;
    for (int i = 0; i < count(); ++i)
        if (m_labels[i].left == m_boxes[i].left && m_labels[i].top == m_boxes[i].top)
            ++score;
    return score;
}

void DragEngine::startAgain()
{
    for (int i = 0; i < count(); ++i) {
        m_labels[i].left = m_slots[i].left;
        m_labels[i].top = m_slots[i].top;
    }
    m_pickedUp = m_labels;
}

} // namespace terravale
