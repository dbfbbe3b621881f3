#pragma once

#include "ButtonRow.h"

#include <QObject>
#include <QRect>

#include <vector>

class QKeyEvent;
class QPainter;
class QWidget;
class Screen;
class ScreenNavigation;

// The keyboard's way through the painted buttons: Tab and Shift+Tab move a focus ring through
// the shown screen's buttons in reading order (and through the screen's own child widgets, which
// show their own focus), Space presses and releases the focused button as the mouse would. The ring is drawn
// over the window's pixels, never into the surface, and only once the keyboard has been used, so the panel
// looks as before to a mouse user.
class KeyboardFocus : public QObject {
    Q_OBJECT

public:
    KeyboardFocus(QWidget& window, ScreenNavigation& router);

    // Tab (forward) or Shift+Tab: the next or previous button, round the end of the screen.
    void Move(bool forward);
    // Takes Tab and Shift+Tab meant for the window or any of its child widgets. Qt's own focus
    // moves, away from a child being hidden, do not pass here and show no ring.
    bool eventFilter(QObject* receiver, QEvent* event) override;
    // Space down and up on the window; true when the key was taken.
    bool KeyPress(const QKeyEvent& event);
    bool KeyRelease(const QKeyEvent& event);

    // The id of the focused button in the shown screen's table, or kNoButton.
    int FocusedButton() const { return focused_; }
    bool IsRingShown() const { return used_ && focused_ != kNoButton; }
    // The window rectangle the ring is drawn around.
    QRect RingRect() const;
    void PaintRing(QPainter& painter) const;

signals:
    // The ring went to another button (kNoButton: to none).
    void FocusMoved(int id);

private:
    // A place Tab stops at: a painted button, or a child widget of the screen.
    struct Stop {
        int button;
        QWidget* widget;
    };

    std::vector<Stop> Stops() const;
    // The stop that has the focus, or -1.
    int CurrentStop(const std::vector<Stop>& stops) const;
    void ScreenChanged();
    void Focus(int id);
    const ButtonRow* FocusedRow() const;

    QWidget& window_;
    ScreenNavigation& router_;
    const Screen* screen_ = nullptr;  // the screen the focused id belongs to
    int focused_ = kNoButton;
    bool used_ = false;       // Tab was pressed once: the ring shows from then on
    bool spaceHeld_ = false;  // the focused button was pressed with Space and not yet released
};
