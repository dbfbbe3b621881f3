#pragma once

#include <QPoint>
#include <QRect>

// The words every layout of the panel is written in: places, pictures and texts. Coordinates are
// the layout's pixels; a layout that counts from a panel's left edge says so.
namespace layout {

struct Point {
    int x = 0, y = 0;
};

// Where a button reacts: a point is inside only strictly between the edges.
struct Region {
    int left = 0, top = 0, right = 0, bottom = 0;

    constexpr bool contains(int px, int py) const {
        return left < px && px < right && top < py && py < bottom;
    }
    constexpr bool isEmpty() const { return left >= right || top >= bottom; }
    QRect rect() const { return QRect(left, top, right - left, bottom - top); }
    // The point a press of the button is made at, by the keyboard or assistive technology.
    QPoint centre() const { return QPoint((left + right) / 2, (top + bottom) / 2); }
};

// A rectangle at its own size; where a picture is drawn.
struct Place {
    int x = 0, y = 0, width = 0, height = 0;

    constexpr Region region() const { return {x, y, x + width, y + height}; }
    constexpr Place movedBy(int dx, int dy = 0) const { return {x + dx, y + dy, width, height}; }
};

struct Picture {
    int id = 0;
    Place place;
};

// A picture that a press shows in another picture; both at the same place.
struct Button {
    Place place;
    int picture = 0;
    int pressedPicture = 0;
};

enum class Face { Small, Medium, Large };
enum class Tone { Caption, Heading, StatusLabel, Value, FrameText };

// One line of text with its cell's top-left at a point.
struct Text {
    Point at;
    const char* text = nullptr;  // UTF-8
    Face face = Face::Small;
    Tone tone = Tone::Caption;
};

// A text with the box it is cut to.
struct BoxedText {
    Text text;
    Place box;
};

}  // namespace layout
