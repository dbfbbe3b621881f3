#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// Where a button reacts: a point is inside only strictly between the edges.
struct HitRegion {
    int left = 0, top = 0, right = 0, bottom = 0;

    bool contains(int px, int py) const { return left < px && px < right && top < py && py < bottom; }
};

// Where a button's pictures are drawn, at their own size.
struct PicturePlace {
    int x = 0, y = 0, width = 0, height = 0;

    HitRegion region() const { return {x, y, x + width, y + height}; }
};

// Text a button carries on its picture, written in the menu-caption style.
struct Caption {
    const char* text = nullptr;
    int x = 0, y = 0;
    bool heading = false;  // in the heading colour rather than the label colour
};

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
    HitRegion region;
    PicturePlace place;
    int normalPicture = 0;
    int pressedPicture = 0;
    Caption caption;
    bool captionWhenPressed = false;  // the caption is written again over the pressed picture
    bool captionOnRelease = false;    // the caption comes back with the normal picture
    bool keepOnRelease = false;       // the release leaves the look to the action
    std::function<void()> action;     // run at the release
    ButtonAccess access;
};

// A screen's buttons. Rows without a region are never found.
using ButtonTable = std::vector<ButtonRow>;

constexpr int kNoButton = 0xFFFF;

// The first row, in id order, that contains (x, y), or kNoButton.
int FindButton(const ButtonTable& table, int x, int y);

// Whether the row is a button at all: rows without a region only keep the ids in step.
bool IsButton(const ButtonRow& row);
// The row's accessible name: its own, else its caption.
QString AccessibleName(const ButtonRow& row);
QString AccessibleValue(const ButtonRow& row);
bool IsChecked(const ButtonRow& row);
