#include "SliderGeometry.h"

#include <algorithm>
#include <cstdint>

SliderGeometry SliderGeometry::At(QSize control, int minimum, int maximum, int position) {
    SliderGeometry geometry;
    SliderRect& channel = geometry.channel;
    channel.left = kThumbLeft + (kThumbLength - kChannelWidth) / 2;
    channel.right = channel.left + kChannelWidth;
    channel.top = kChannelInset;
    channel.bottom = std::max(channel.top, control.height() - kChannelInset);

    const std::int64_t travel = channel.bottom - channel.top;
    const std::int64_t range = std::int64_t{maximum} - minimum;
    int centre = channel.top;
    if (range > 0) {
        const std::int64_t offset = std::clamp<std::int64_t>(std::int64_t{position} - minimum, 0, range);
        centre += static_cast<int>((offset * travel + range / 2) / range);
    }
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

QRect SliderGeometry::KnobRect(const SliderRect& thumb, QSize knob, int thumbOffset, int thumbShift) {
    const int top = thumb.top + (knob.height() - (thumb.bottom - thumb.top)) / 2 + thumbShift;
    return QRect(QPoint(thumbOffset, top), knob);
}
