#pragma once
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <type_traits>

namespace terravale {

// A caption control as the screens are designed: fore and back colour, opaque or transparent
// background, optional single border, left/centre/right text that wraps within its width.
// Label buttons are labels in an index array; they report clicks and pointer movement with
// their index, and a press captures the pointer until the release.
class Label : public QWidget {
    Q_OBJECT
public:
    explicit Label(QWidget *parent, int index = -1);

    int index() const { return m_index; }

    void setCaption(const QString &caption);
    QString caption() const { return m_caption; }
    void setForeColor(const QColor &color);
    QColor foreColor() const { return m_fore; }
    void setBackColor(const QColor &color);
    QColor backColor() const { return m_back; }
    void setOpaque(bool opaque);
    bool isOpaque() const { return m_opaque; }
    void setBorder(bool border);
    bool hasBorder() const { return m_border; }
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return m_align; }

    // Position and size in twips, as single-precision values the way the layouts give them.
    float leftTw() const { return m_left; }
    float topTw() const { return m_top; }
    float widthTw() const { return m_width; }
    float heightTw() const { return m_height; }
    void moveTw(float left, float top);
    void setGeometryTw(float left, float top, float width, float height);

    // Configures the common label button: yellow on black, border, centred, bold Tahoma.
    void makeButton(double points, const QColor &back = QColor(0, 0, 0));

signals:
    void clicked(int index);
    void mouseMoved(int index, Qt::MouseButtons buttons, QPointF twips);
    void mousePressed(int index, Qt::MouseButton button, QPointF twips);
    void mouseReleased(int index, Qt::MouseButton button, QPointF twips);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_index;
    QString m_caption;
    QColor m_fore = QColor(0, 0, 0);
    QColor m_back = QColor(255, 255, 255);
    bool m_opaque = false;
    bool m_border = false;
    Qt::Alignment m_align = Qt::AlignLeft;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_pressedInside = false;
};

// An index array of controls; an index that does not exist is an error, as in the designs.
template <class T>
class ControlArray {
public:
    T &operator()(int index) const
    {
        const auto it = m_items.find(index);
        if (it == m_items.end())
            throw std::out_of_range("Control array element does not exist");
        return *it->second;
    }
    // An element by a screen's named index (an enum of its buttons).
    template <class E>
        requires std::is_enum_v<E>
    T &operator()(E index) const
    {
        return (*this)(int(index));
    }
    bool contains(int index) const { return m_items.count(index) != 0; }
    void add(int index, T *item) { m_items[index] = item; }
    const std::map<int, T *> &items() const { return m_items; }

private:
    std::map<int, T *> m_items;
};

using LabelArray = ControlArray<Label>;

// The hover rule: a button under the pointer becomes opaque; the background clears a range.
void lightButton(LabelArray &buttons, int index);
void clearButtons(LabelArray &buttons, int first, int last);

// One label button of a row: its index in the array, its place in twips, its caption (Latin-1;
// null for none).
struct LabelButtonDef {
    int index;
    float left, top, width, height;
    const char *caption;
};

// Whether the pointer over a button of a row lights it (lightButton).
enum class Hover { Light, None };

// Makes a label button (makeButton with `points` and `back`), adds it to `row` and sends its
// clicks to `onClick` with its index.
Label *addLabelButton(QWidget *parent, LabelArray &row, const LabelButtonDef &def, double points,
                      const std::function<void(int)> &onClick, Hover hover = Hover::Light,
                      const QColor &back = QColor(0, 0, 0));
// The same for each button of a row, in order.
void addLabelButtons(QWidget *parent, LabelArray &row, std::initializer_list<LabelButtonDef> defs, double points,
                     const std::function<void(int)> &onClick, Hover hover = Hover::Light);

} // namespace terravale
