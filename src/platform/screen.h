#pragma once
#include <QColor>
#include <QPointF>
#include <QWidget>
#include <functional>
#include <typeindex>

namespace terravale {

// A screen ("form"): one instance per class, created and loaded on first access, destroyed
// when unloaded. Controls are children placed in twips.
class Screen : public QWidget {
    Q_OBJECT
public:
    explicit Screen(const QString &formName);
    ~Screen() override;

    QString formName() const { return objectName(); }

    void setBackColor(const QColor &color);
    QColor backColor() const { return m_back; }

    // Shows the screen in front of the others.
    void showInFront();

    // The load handler, run once right after construction by the registry.
    virtual void formLoad() {}

protected:
    // Pointer over the screen's own background, in twips.
    virtual void formMouseMove(Qt::MouseButtons, QPointF) {}

    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QColor m_back = QColor(192, 192, 192);
};

namespace detail {
Screen *findForm(std::type_index type);
void registerForm(std::type_index type, Screen *screen);
void unloadForm(std::type_index type);
} // namespace detail

// The instance of a screen class, loading it (constructor, then formLoad) if it is not loaded.
template <class T>
T &form()
{
    if (Screen *existing = detail::findForm(typeid(T)))
        return static_cast<T &>(*existing);
    auto *screen = new T;
    detail::registerForm(typeid(T), screen);
    screen->formLoad();
    return *screen;
}

template <class T>
T *loadedForm()
{
    return static_cast<T *>(detail::findForm(typeid(T)));
}

template <class T>
bool isLoaded()
{
    return detail::findForm(typeid(T)) != nullptr;
}

// Unloads the screen if loaded: it stops its timers, disappears and is destroyed.
template <class T>
void unloadForm()
{
    detail::unloadForm(typeid(T));
}

// Unloads every screen at once (end of program, or between tests).
void unloadAllForms();

// Number of loaded screens.
int loadedFormCount();

} // namespace terravale
