#pragma once

#include "Screen.h"

#include <vector>

struct MenuButton;

// A screen whose buttons lead to other screens: the alarms and maintenance screens, and the
// menu bars of the trigger and grouping screens. The screens' own contents paint on top.
class NavigationScreen : public Screen {
public:
    struct Link {
        const MenuButton* button;
        int (*target)(int openedLed);  // the screen the button leads to
        bool captionWhenPressed;
    };

    NavigationScreen(ScreenContext& context, std::vector<Link> links, bool withStatusBar);

    const ButtonTable& Buttons() const override { return buttons_; }
    void Paint() override;
    void DrawPressed(int id) override;
    void Release(int id) override;

protected:
    // What the screen shows besides its buttons and status bar; drawn first.
    virtual void PaintContent() {}
    // The LED whose panel the screen has opened (trigger and grouping screens), else 0.
    virtual int OpenedLed() const { return 0; }

private:
    std::vector<Link> links_;
    ButtonTable buttons_;
    bool withStatusBar_;
};

// The alarms screen (state 12).
class AlarmsScreen : public NavigationScreen {
public:
    explicit AlarmsScreen(ScreenContext& context);
};

// The maintenance screen (state 13).
class MaintenanceScreen : public NavigationScreen {
public:
    explicit MaintenanceScreen(ScreenContext& context);
};

// The trigger screen with LED k + 1 opened (states 2..10).
class TriggerScreen : public NavigationScreen {
public:
    explicit TriggerScreen(ScreenContext& context);

protected:
    int OpenedLed() const override;
};

// The grouping screen with LED k + 1 opened (states 15..23).
class GroupingScreen : public NavigationScreen {
public:
    explicit GroupingScreen(ScreenContext& context);

protected:
    int OpenedLed() const override;
};
