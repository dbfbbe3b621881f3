#pragma once

#include <algorithm>
#include <cstdint>

// The scale printed on a slider track and the index line on its knob, in pixel rows from the top
// of each picture. The artwork draws both pictures from these numbers and the thumb travels over
// the same rows, so the knob's index line lies on the mark of its value. Marks and index line are
// two rows high; a row named here is the upper one.
struct SliderScale {
    // A mark every tenth of the range, the top one for the range minimum.
    static constexpr int kMarkCount = 11;
    static constexpr int kTopMarkRow = 12;
    // Counted up from the track's bottom edge. With the index line kKnobIndexRow rows below its top,
    // the 26-row LED knob stands on the top edge at the top mark and ends two rows short of the
    // bottom edge at the bottom mark, and the marks are a whole 13 rows apart.
    static constexpr int kBottomMarkInset = 16;
    static constexpr int kKnobIndexRow = 12;

    static constexpr int BottomMarkRow(int trackHeight) {
        return std::max(kTopMarkRow, trackHeight - kBottomMarkInset);
    }

    // The row offset / range of the way down, to the nearest row; the top mark for an empty range.
    static constexpr int RowAt(int trackHeight, std::int64_t offset, std::int64_t range) {
        if (range <= 0) {
            return kTopMarkRow;
        }
        const std::int64_t span = BottomMarkRow(trackHeight) - kTopMarkRow;
        return kTopMarkRow +
               static_cast<int>((std::clamp<std::int64_t>(offset, 0, range) * span + range / 2) / range);
    }

    // The offset into range whose row is nearest to row, clamped to the range.
    static constexpr std::int64_t OffsetAt(int trackHeight, int row, std::int64_t range) {
        const std::int64_t span = BottomMarkRow(trackHeight) - kTopMarkRow;
        if (range <= 0 || span <= 0) {
            return 0;
        }
        const std::int64_t below = std::clamp<std::int64_t>(row - kTopMarkRow, 0, span);
        return (below * range + span / 2) / span;
    }

    // Mark 0 is the top one.
    static constexpr int MarkRow(int trackHeight, int mark) {
        return RowAt(trackHeight, mark, kMarkCount - 1);
    }
};
