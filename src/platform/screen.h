#pragma once
#include <QColor>
#include <QPointF>
#include <QWidget>
#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

namespace terravale {

// A screen ("form"): one instance per class (or, for screens of one class told apart by their
// data, per form name), created and loaded on first access, destroyed when unloaded. Controls are children placed in twips.
class Screen : public QWidget {
    Q_OBJECT
public:
    explicit Screen(const QString &formName);
    ~Screen() override;

    QString formName() const { return objectName(); }

    // Puts the window in the middle of the display (the left or top may go negative).
    void centreOnDisplay();
    // Where centreOnDisplay puts the window.
    QPoint centredPosition() const;

    void setBackColor(const QColor &color);
    QColor backColor() const { return m_back; }

    // Shows the screen in front of the others, restored first if it was minimised.
    void showInFront();

    // The load handler, run once right after construction by the registry.
    virtual void formLoad() {}

    // What a close request from the window system (the title bar's close button, Alt+F4) does:
    // the screen's own Exit. A screen without one ignores the request.
    void setExitAction(std::function<void()> action) { m_exitAction = std::move(action); }

    bool isBackdrop() const { return m_backdrop; }

    // Another screen is in front of this one (shown, not minimised): a click that reaches this one
    // meanwhile was made before that screen appeared, and is not for this one.
    bool isCovered() const;

protected:
    // Pointer over the screen's own background, in twips.
    virtual void formMouseMove(Qt::MouseButtons, QPointF) {}

    // The backdrop is no screen to work on: it keeps no design size or place and never counts
    // as the front screen.
    void markAsBackdrop() { m_backdrop = true; }

    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    QPoint framePosition() const;
    // Puts the screen back in its place a moment from now, unless something moves it meanwhile.
    void returnToPlaceSoon();

    QColor m_back = QColor(192, 192, 192);
    std::function<void()> m_exitAction;
    bool m_backdrop = false;
    int m_moves = 0;     // moves by the window system so far; the latest one is let go
    int m_returns = 0;   // returns to the place in a row that the window system undid
};

namespace detail {
using FormKey = std::string;
template <class T>
FormKey formKey()
{
    return typeid(T).name();
}
FormKey namedFormKey(const QString &formName);
Screen *findForm(const FormKey &key);
void registerForm(const FormKey &key, Screen *screen);
void unloadForm(const FormKey &key);
} // namespace detail

// The instance of a screen class, loading it (constructor, then formLoad) if it is not loaded.
template <class T>
T &form()
{
    if (Screen *existing = detail::findForm(detail::formKey<T>()))
        return static_cast<T &>(*existing);
    auto *screen = new T;
    detail::registerForm(detail::formKey<T>(), screen);
    screen->formLoad();
    return *screen;
}

template <class T>
T *loadedForm()
{
    return static_cast<T *>(detail::findForm(detail::formKey<T>()));
}

template <class T>
bool isLoaded()
{
    return detail::findForm(detail::formKey<T>()) != nullptr;
}

// Unloads the screen if loaded: it stops its timers, disappears and is destroyed.
template <class T>
void unloadForm()
{
    detail::unloadForm(detail::formKey<T>());
}

// A newly loaded instance: one left loaded from before (minimised, or uncovered) is unloaded first.
template <class T>
T &freshForm()
{
    unloadForm<T>();
    return form<T>();
}

// Screens of one class that their data tells apart (the topic hubs, the activities), known by
// form name: the loaded one of that name, or make() loaded and registered under it.
Screen &namedForm(const QString &formName, const std::function<Screen *()> &make);
Screen *loadedNamedForm(const QString &formName);
void unloadNamedForm(const QString &formName);

// Unloads the screen itself, however it was loaded.
void unloadScreen(Screen &screen);

// Unloads every screen at once (end of program, or between tests).
void unloadAllForms();

// Number of loaded screens.
int loadedFormCount();

// The loaded screen most recently shown in front or activated, minimised or not; null if none.
Screen *frontScreen();

// The screen the program last put in front that is still on show (not minimised); null if none.
Screen *topShownScreen();

// Every loaded screen, the backdrop included.
std::vector<Screen *> loadedForms();

} // namespace terravale
