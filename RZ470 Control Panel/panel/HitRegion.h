#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One button of a screen: where it reacts, where and with which pictures it is drawn.
struct HitRegion {
    uint16_t left, top, right, bottom;  // a point is inside only strictly between the edges
    uint16_t x, y, width, height;
    uint16_t normalPicture, pressedPicture;
    bool keepOnRelease;  // the owner redraws the button after the release

    bool contains(int px, int py) const { return left < px && px < right && top < py && py < bottom; }
};

// A screen's buttons; the row index is the button id.
using ButtonTable = std::vector<HitRegion>;

constexpr int kNoButton = 0xFFFF;

// The first row, in id order, that contains (x, y), or kNoButton.
int FindButton(const ButtonTable& table, int x, int y);
