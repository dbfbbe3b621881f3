#pragma once

#include "PanelLayout.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// What assistive technology is told of a button. The texts are asked for when needed, so they
// follow the unit and the screen without being stored.
struct ButtonAccess {
    enum class Role { Button, Toggle };
    Role role = Role::Button;
    std::function<QString()> name;   // none: the caption
    std::function<QString()> value;  // none, or an empty text: the button shows no value
    std::function<bool()> checked;   // a toggle's state
};

// One button of a screen; its index in the screen's table is its id.
struct ButtonRow {
    layout::Region region;
    layout::Place place;
    int normalPicture = 0;
    int pressedPicture = 0;
    layout::Text caption;             // written over the picture
    bool captionWhenPressed = false;  // the caption is written again over the pressed picture
    bool captionOnRelease = false;    // the caption comes back with the normal picture
    bool keepOnRelease = false;       // the release leaves the look to the action
    std::function<void()> action;     // run at the release
    ButtonAccess access;
};

// A screen's buttons. Rows without a region are never found.
using ButtonTable = std::vector<ButtonRow>;

// A value a screen paints that is no button (an alarm tile, a maintenance value), as assistive
// technology reads it: what it is and what it shows now, both asked for when needed.
struct ShownText {
    layout::Region region;
    std::function<QString()> label;
    std::function<QString()> value;
};
using ShownTexts = std::vector<ShownText>;

constexpr int kNoButton = 0xFFFF;

// The first row, in id order, that contains (x, y), or kNoButton.
int FindButton(const ButtonTable& table, int x, int y);

// Whether the row is a button at all: rows without a region only keep the ids in step.
bool IsButton(const ButtonRow& row);
// The row's accessible name: its own, else its caption.
QString AccessibleName(const ButtonRow& row);
QString AccessibleValue(const ButtonRow& row);
bool IsChecked(const ButtonRow& row);
