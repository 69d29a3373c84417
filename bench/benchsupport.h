// Shared by the screen benchmarks: waiting on the paint event itself (no sleeping), and the floors
// a screen step is compared with, measured in the same run: a new empty window shown, labels
// changed in place and repainted, a label moved and repainted.
#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs the event loop for `ms` milliseconds, so windows just closed or hidden are done with
// (deferred deletes, the window system's answers) before the next timed step.
inline void settle(int ms = 20)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Watches for a paint event reaching a widget `matches` accepts. It is asked as events arrive, so
// the widget may be a screen the timed action creates. Set up before the action.
class PaintWait : public QObject {
public:
    explicit PaintWait(std::function<bool(const QWidget *)> matches) : m_matches(std::move(matches))
    {
        qApp->installEventFilter(this);
    }
    ~PaintWait() override { qApp->removeEventFilter(this); }

    // Processes events until the paint has arrived (true) or `limitMs` has passed (false). The
    // event loop returns after the whole paint pass, flush to the window system included.
    bool wait(int limitMs = 5000)
    {
        if (m_painted)
            return true;
        QEventLoop loop;
        m_loop = &loop;
        // A timer of our own, stopped on return: a pending single shot of every wait would pile
        // up in the event dispatcher and slow the waits after it.
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        limit.start(limitMs);
        loop.exec();
        m_loop = nullptr;
        return m_painted;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted && watched->isWidgetType()
            && m_matches(static_cast<const QWidget *>(watched))) {
            m_painted = true;
            if (m_loop)
                m_loop->quit();
        }
        return false;
    }

private:
    std::function<bool(const QWidget *)> m_matches;
    QEventLoop *m_loop = nullptr;
    bool m_painted = false;
};

// Seconds from the start of `action` until a widget `matches` accepts has been painted; negative
// when none was within `limitMs`.
inline double timeUntilPainted(const std::function<void()> &action, std::function<bool(const QWidget *)> matches,
                               int limitMs = 5000)
{
    PaintWait paint(std::move(matches));
    const auto start = Clock::now();
    action();
    const bool painted = paint.wait(limitMs);
    const double seconds = secondsSince(start);
    return painted ? seconds : -1.0;
}

// The same, for any widget of the window `window()` names (looked up as events arrive, so it
// may be a screen the action creates). A window covered by an opaque child is never painted
// itself, only the child is.
inline double timeUntilWindowPainted(const std::function<void()> &action, const std::function<QWidget *()> &window,
                                     int limitMs = 5000)
{
    return timeUntilPainted(
        action, [window](const QWidget *w) { const QWidget *target = window(); return target && w->window() == target; },
        limitMs);
}

// The same, for a widget that exists before the action.
inline double timeUntilPainted(const std::function<void()> &action, QWidget *target, int limitMs = 5000)
{
    return timeUntilPainted(action, [target](const QWidget *w) { return w == target; }, limitMs);
}

// The same, for a window that exists before the action (a step that repaints only the widgets
// under it).
inline double timeUntilWindowPainted(const std::function<void()> &action, QWidget *window, int limitMs = 5000)
{
    return timeUntilPainted(action, [window](const QWidget *w) { return w->window() == window; }, limitMs);
}

// Where a window of this size sits in the middle of the display, as the screens are placed.
inline QPoint centred(QSize size)
{
    const QScreen *display = QGuiApplication::primaryScreen();
    const QRect area = display ? display->geometry() : QRect(0, 0, 1024, 768);
    return area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2);
}

// Places a small window in the bottom right corner, clear of a centred 800 x 600 screen on a
// 1024 x 768 display, so the two windows' repaints do not clip each other.
inline void toCorner(QWidget &window)
{
    const QScreen *display = QGuiApplication::primaryScreen();
    const QRect area = display ? display->geometry() : QRect(0, 0, 1024, 768);
    window.move(area.right() + 1 - window.width(), area.bottom() + 1 - window.height());
}

// Floor of a screen change: a new empty top-level window of the given size, centred, shown until
// painted, then closed (closing is not timed). Seconds, negative when it never painted.
inline double newWindowShown(QSize size)
{
    std::unique_ptr<QWidget> window;
    const double seconds = timeUntilWindowPainted(
        [&] {
            window = std::make_unique<QWidget>();
            window->setAttribute(Qt::WA_QuitOnClose, false);
            window->resize(size);
            window->move(centred(size));
            window->show();
        },
        [&] { return window.get(); });
    window.reset();
    return seconds;
}

// Floor of a page turn or a new question: `count` labels in a window of their own, their texts
// changed in place and repainted.
class LabelFloor {
public:
    explicit LabelFloor(int count = 1, QSize labelSize = QSize(150, 33))
    {
        m_window.setAttribute(Qt::WA_QuitOnClose, false);
        QFont font = m_window.font();
        font.setPointSizeF(14);
        font.setBold(true);
        const int columns = count > 1 ? 4 : 1;
        for (int i = 0; i < count; ++i) {
            auto *label = new QLabel(text(i, 0), &m_window);
            label->setFont(font);
            label->setGeometry((i % columns) * labelSize.width(), (i / columns) * labelSize.height(),
                               labelSize.width(), labelSize.height());
            m_labels.push_back(label);
        }
        const int rows = (count + columns - 1) / columns;
        m_window.resize(columns * labelSize.width(), rows * labelSize.height());
        toCorner(m_window);
        m_ready = timeUntilWindowPainted([this] { m_window.show(); }, &m_window) >= 0;
    }

    bool ready() const { return m_ready; }

    // Seconds to change every label's text and have the change painted; negative if never painted.
    double sample()
    {
        ++m_turn;
        return timeUntilPainted(
            [this] {
                for (int i = 0; i < int(m_labels.size()); ++i)
                    m_labels[i]->setText(text(i, m_turn));
            },
            m_labels.front());
    }

private:
    static QString text(int i, int turn) { return QStringLiteral("Page %1 of %2").arg((i + turn) % 5 + 1).arg(5); }

    QWidget m_window;
    std::vector<QLabel *> m_labels;
    int m_turn = 0;
    bool m_ready = false;
};

// Floor of a drag step: a label in a window of its own moved by a few pixels and repainted. The
// window is as wide as a screen and as high as the label, at the top of the display, clear of a
// centred 800 x 600 screen on a 1024 x 768 display.
class MoveFloor {
public:
    explicit MoveFloor(QSize labelSize)
    {
        m_window.setAttribute(Qt::WA_QuitOnClose, false);
        m_window.resize(800, labelSize.height());
        m_label = new QLabel(QStringLiteral("Glass jars"), &m_window);
        m_label->setAutoFillBackground(true);
        m_label->resize(labelSize);
        m_window.move(centred(m_window.size()).x(), 0);
        m_ready = timeUntilWindowPainted([this] { m_window.show(); }, &m_window) >= 0;
    }

    bool ready() const { return m_ready; }

    // Seconds to move the label `step` pixels along and have it painted there.
    double sample(int step)
    {
        const int span = qMax(1, m_window.width() - m_label->width());
        m_x = (m_x + step) % span;
        return timeUntilWindowPainted([this] { m_label->move(m_x, 0); }, &m_window);
    }

private:
    QWidget m_window;
    QLabel *m_label;
    int m_x = 0;
    bool m_ready = false;
};

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2)
        return *middle;
    return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

// Timed steps beside their floor, one pair per iteration. Reported as counters, so one run prints
// both: the medians of the step (own_ms) and of the floor (floor_ms) over the iterations, and
// their ratio. Medians, because a step the scheduler interrupts (other work on the machine) would
// otherwise weigh in the mean that the Time column shows.
class FloorRatio {
public:
    void add(double own, double floor)
    {
        m_own.push_back(own);
        m_floor.push_back(floor);
    }
    void report(benchmark::State &state) const
    {
        if (m_own.empty())
            return;
        const double own = median(m_own), floor = median(m_floor);
        state.counters["own_ms"] = own * 1e3;
        state.counters["floor_ms"] = floor * 1e3;
        if (floor > 0)
            state.counters["ratio"] = own / floor;
    }

private:
    std::vector<double> m_own, m_floor;
};

} // namespace bench
