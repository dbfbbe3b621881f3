#pragma once

#include <QAccessible>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class KeyboardFocus;
class QAccessibleEvent;
class QAccessibleInterface;
class QWidget;
class ScreenNavigation;
struct ButtonRow;
struct ShownText;

// The painted buttons and values of the shown screen as assistive technology sees them: the
// children the window's accessible interface reports, in reading order, and the announcements
// of what changes on them. A QAccessible factory gives the window that has one of these as a direct
// child the interface that reports them; the window's class says it is one with
// Q_CLASSINFO("PaintedButtons", "") (kWindowMark).
class PanelAccessibility : public QObject {
    Q_OBJECT

public:
    static constexpr char kWindowMark[] = "PaintedButtons";

    PanelAccessibility(QWidget& window, ScreenNavigation& router, KeyboardFocus& keyboardFocus);
    ~PanelAccessibility() override;

    // Lets Qt give the panel window its interface; the first of these does it too, but the
    // application may want it before any window exists.
    static void InstallFactory();

    QWidget& window() const { return window_; }

    // The shown screen's painted children by their place: its values first, then its buttons in
    // reading order.
    int ChildCount() const { return TextCount() + ButtonCount(); }
    int TextCount() const { return static_cast<int>(texts_.size()); }
    int ButtonCount() const { return static_cast<int>(order_.size()); }
    // The interface of the child at that place, made when first asked for; null outside.
    QAccessibleInterface* Child(int index);
    int IndexOf(const QAccessibleInterface* child) const;
    // The place of the child at a window point, or -1.
    int IndexAt(QPoint windowPoint) const;
    // The place of the button the keyboard focus is on while the window has the focus, or -1.
    int FocusedIndex() const;

    // What a value's interface asks about the shown screen's value at that place among the
    // values; null when there is none.
    const ShownText* Text(int index) const;

    // What a button interface asks about the button with that id; null when the shown screen
    // has no such button.
    const ButtonRow* Row(int id) const;
    QRect ScreenRect(int id) const;
    QAccessible::State State(int id) const;
    // Presses and releases the button as the mouse does, once control is back in the event
    // loop: the action may open a modal dialog, which must not block the caller.
    void Press(int id);

    // The window's pixels changed: the buttons are compared with what was last announced once
    // control is back in the event loop.
    void SurfaceChanged();
    // Compares at once.
    void AnnounceChanges();
    // Lets tests watch the announcements, which Qt drops while no assistive technology listens.
    void SetListener(std::function<void(QAccessibleEvent&)> listener) { listener_ = std::move(listener); }

private:
    // What was last announced of a button or value.
    struct Told {
        QString name, value;
        bool checked = false, pressed = false;
    };
    // A child's interface, made when first asked for, and what was last announced of it.
    struct Known {
        QAccessible::Id id = 0;
        Told told;
    };

    static QAccessibleInterface* Factory(const QString& className, QObject* object);

    void ScreenChanged();
    void FocusMoved(int id);
    void DropButtons();
    Told Describe(int id) const;
    Told DescribeText(int index) const;
    // The child at a place, which is in range.
    Known& KnownAt(int index);
    const Known& KnownAt(int index) const;
    QAccessibleInterface* Interface(Known& known, const std::function<QAccessibleInterface*()>& make);
    // Announces what changed of a child since it was last told.
    void Announce(QAccessibleInterface* child, const Told& before, const Told& now);
    bool Listened() const { return listener_ || QAccessible::isActive(); }
    void Send(QAccessibleEvent& event);

    QWidget& window_;
    ScreenNavigation& router_;
    KeyboardFocus& keyboardFocus_;
    std::vector<int> order_;      // button ids in reading order
    std::vector<Known> buttons_;  // by place in reading order
    std::vector<Known> texts_;    // by the screen's order of its values
    bool comparePending_ = false;
    bool focusPending_ = false;
    std::function<void(QAccessibleEvent&)> listener_;
};
