#pragma once

#include <QRect>
#include <QSize>

// A rectangle with the platform's edges: right and bottom lie one past the last pixel.
struct SliderRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const SliderRect& a, const SliderRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

// The thumb and channel of a vertical trackbar with ticks on both sides and none drawn, minimum at
// the top. These numbers take the place of the platform control's own, so the slider hits and
// draws the same on every platform; the picture slider keeps its knob centred on the thumb.
// Presses map onto the channel, but the thumb's centre travels only between the track picture's
// end marks: over the whole channel the knob would stick out of the control at both ends.
struct SliderGeometry {
    static constexpr int kThumbLeft = 10;
    static constexpr int kThumbLength = 21;  // across the track
    static constexpr int kThumbDepth = 11;   // along the track
    // Half the thumb plus a margin.
    static constexpr int kChannelInset = kThumbDepth / 2 + 3;
    static constexpr int kChannelWidth = 4;

    SliderRect thumb;
    SliderRect channel;

    static SliderGeometry At(QSize control, int minimum, int maximum, int position);

    // Presses right of the thumb, up to about twice its length further, move the slider itself.
    static bool AcceptsPress(const SliderRect& thumb, int x);
    static bool IsLevelWithThumb(const SliderRect& thumb, int y);
    // The position whose thumb lies under y, clamped to the range; the minimum above the channel.
    static int PositionAt(const SliderRect& channel, int minimum, int maximum, int y);
    // The position whose thumb centre is nearest to y, clamped to the range: where dragging the
    // thumb itself takes it.
    static int PositionOfThumbAt(QSize control, int minimum, int maximum, int y);
    // Where the knob picture goes: its height centred on the thumb, then shifted along the track.
    static QRect KnobRect(const SliderRect& thumb, QSize knob, int thumbOffset, int thumbShift);
};
