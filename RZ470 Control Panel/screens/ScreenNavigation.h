#pragma once

#include <QObject>

class Screen;

// The router as the screens, the keyboard focus and accessibility see it: the screen shown, the
// way to another, and the press and release that reach the shown screen's buttons.
class ScreenNavigation : public QObject {
    Q_OBJECT

public:
    // Sets the screen state (an unknown one means the main screen) and paints it at once.
    virtual void ChangeScreen(int state) = 0;
    // Redraws the whole screen named by the screen state.
    virtual void PaintScreen() = 0;
    virtual int ScreenState() const = 0;
    virtual const Screen& ShownScreen() const = 0;
    // The left button pressed at client pixel (x, y), and released.
    virtual void Press(int x, int y) = 0;
    virtual void Release() = 0;
    // The button pressed and not yet released, or kNoButton.
    virtual int HeldButton() const = 0;

signals:
    // Another screen, or another variant of one, is shown and painted.
    void ScreenChanged();
};
