#pragma once

#include "MenuButtons.h"
#include "Screen.h"

// A screen whose buttons are its menu bar: the trigger screen until its editor joins it.
class MenuScreen : public Screen {
public:
    MenuScreen(ScreenContext& context, const MenuBar& bar, bool withStatusBar);

    void Paint() override;

private:
    bool withStatusBar_;
};
