#include "SliderGeometry.h"

#include "SliderScale.h"

#include <algorithm>
#include <cstdint>

SliderGeometry SliderGeometry::At(QSize control, int minimum, int maximum, int position) {
    SliderGeometry geometry;
    SliderRect& channel = geometry.channel;
    channel.left = kThumbLeft + (kThumbLength - kChannelWidth) / 2;
    channel.right = channel.left + kChannelWidth;
    channel.top = kChannelInset;
    channel.bottom = std::max(channel.top, control.height() - kChannelInset);

    // The knobs' shifts put their index line on the thumb's centre row.
    const int centre = SliderScale::RowAt(control.height(), std::int64_t{position} - minimum,
                                          std::int64_t{maximum} - minimum);
    geometry.thumb = {kThumbLeft, centre - kThumbDepth / 2, kThumbLeft + kThumbLength,
                      centre - kThumbDepth / 2 + kThumbDepth};
    return geometry;
}

bool SliderGeometry::AcceptsPress(const SliderRect& thumb, int x) {
    return x > thumb.right && x < 2 * (thumb.right - thumb.left) + 15;
}

bool SliderGeometry::IsLevelWithThumb(const SliderRect& thumb, int y) {
    return y >= thumb.top && y <= thumb.bottom;
}

int SliderGeometry::PositionAt(const SliderRect& channel, int minimum, int maximum, int y) {
    const std::int64_t travel = channel.bottom - channel.top;
    if (y < channel.top || travel <= 0 || maximum <= minimum) {
        return minimum;
    }
    const std::int64_t range = std::int64_t{maximum} - minimum;
    const std::int64_t position = minimum + range * (y - channel.top) / travel;
    return static_cast<int>(std::min<std::int64_t>(position, maximum));
}

int SliderGeometry::PositionOfThumbAt(QSize control, int minimum, int maximum, int y) {
    const std::int64_t offset = SliderScale::OffsetAt(control.height(), y, std::int64_t{maximum} - minimum);
    return static_cast<int>(minimum + offset);
}

QRect SliderGeometry::KnobRect(const SliderRect& thumb, QSize knob, int thumbOffset, int thumbShift) {
    const int top = thumb.top + (knob.height() - (thumb.bottom - thumb.top)) / 2 + thumbShift;
    return QRect(QPoint(thumbOffset, top), knob);
}
