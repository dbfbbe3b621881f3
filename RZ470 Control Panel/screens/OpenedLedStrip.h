#pragma once

// The strip of nine LED panels of the grouping and trigger screens, with LED k's panel opened
// 270 pixels wider than a closed one. Plain C++, so the build-time tools can read it.
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

// A picture of the opened panel, dx from the panel's left edge, y from the window's top.
struct Element {
    int dx, y, width, height;
    int picture, pressedPicture;
};

// The opened panel's CLEAR button; its caption is the screen's own.
constexpr Element kClearButton{101, 41, 246, 50, 278, 278};
constexpr int kClearCaptionY = 55;

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
constexpr Element kDownArrow{160, 0, 87, 49, 182, 183};
constexpr Element kUpArrow{254, 0, 87, 49, 184, 185};
constexpr int kFieldLeftDx = 17;
constexpr int kFieldRightDx = 152;
constexpr int kFieldHeight = 50;
constexpr Element kOpenedField{20, 0, 132, 46, 200, 200};
constexpr int kOpenedTextDx = 27;
// A closed panel's field picture; its dx is ClosedBlankDx.
constexpr Element kClosedField{0, 0, 72, 45, 284, 284};

}  // namespace openedstrip
