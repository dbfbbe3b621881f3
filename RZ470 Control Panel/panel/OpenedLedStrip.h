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

}  // namespace openedstrip
