#pragma once

#include "PanelLayout.h"
#include "PictureIds.h"

// The strip of nine LED panels of the grouping and trigger screens, with LED k's panel opened
// 270 pixels wider than a closed one.
namespace openedstrip {

constexpr int kFirstLeft = 3;
constexpr int kClosedWidth = 89;
constexpr int kOpenedExtra = 270;
constexpr int kTop = 25;

// Left edge of LED i's panel with LED k opened.
constexpr int PanelLeft(int i, int k) {
    return kFirstLeft + kClosedWidth * i + (i > k ? kOpenedExtra : 0);
}

// LED 2's panel stands at x = 92, opened or closed, and its texts sit closer to its edge.
constexpr bool IsNarrowEdge(int left) {
    return left == kFirstLeft + kClosedWidth;
}
constexpr int NameDx(int left) {
    return IsNarrowEdge(left) ? 5 : 7;
}
// The closed panel's number fields: where the number goes, and where its blanking picture goes.
constexpr int ClosedNumberDx(int left) {
    return IsNarrowEdge(left) ? 11 : 13;
}
constexpr int ClosedBlankDx(int left) {
    return IsNarrowEdge(left) ? 6 : 8;
}

// A panel's name strip: what reacts to a click on the panel, and where the name is written.
constexpr int kNameStripWidth = 86;
constexpr int kNameStripBottom = 83;
constexpr int kNameY = 43;

// The pictures of the opened panel are placed from the panel's left edge; y from the window's top,
// or from the value row's where it is 0.

// The opened panel's CLEAR button; its caption is the screen's own.
constexpr layout::Button kClearButton{{101, 41, 246, 50}, pictures::kClearButton, pictures::kClearButton};
constexpr int kClearCaptionY = 55;

// Where LED i's name may be written with LED k opened: over the name strip's height, from the
// panel's edge to the opened panel's CLEAR button, or in a closed panel to where the next
// panel's name begins. A name may reach a little past its narrow panel, and the soft edge of its
// last letter shares one pixel column with the next name's first.
constexpr int kSharedNameColumn = 1;
constexpr layout::Place NameBox(int i, int k) {
    const int left = PanelLeft(i, k);
    const int right = i == k ? left + kClearButton.place.x
                             : PanelLeft(i + 1, k) + NameDx(PanelLeft(i + 1, k)) + kSharedNameColumn;
    return {left, kTop, right - left, kNameStripBottom - kTop};
}

// A value row of the strip: where the opened panel's arrows and field react, and where the value
// and the picture that blanks it stand, in the opened and in a closed panel.
struct ValueRow {
    int top;            // the arrows' top and the field's sensitive top
    int fieldPictureY;  // the opened field's picture
    int openedTextY;
    int closedTextY;
    int closedBlankY;
};

// The arrows of a row, and its field's sensitive edges and picture in the opened panel.
constexpr layout::Button kDownArrow{{160, 0, 87, 49}, pictures::kStepDown, pictures::kStepDownPressed};
constexpr layout::Button kUpArrow{{254, 0, 87, 49}, pictures::kStepUp, pictures::kStepUpPressed};
constexpr int kFieldLeftDx = 17;
constexpr int kFieldRightDx = 152;
constexpr int kFieldHeight = 50;
constexpr layout::Picture kOpenedField{pictures::kOpenedNumberField, {20, 0, 132, 46}};
constexpr int kOpenedTextDx = 27;
// A closed panel's field picture; its dx is ClosedBlankDx.
constexpr layout::Picture kClosedField{pictures::kClosedNumberField, {0, 0, 72, 45}};

}  // namespace openedstrip
