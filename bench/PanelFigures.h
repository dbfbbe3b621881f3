#pragma once

// The figures measured inside the benchmark's own process, on an offscreen panel.
#include "Measure.h"

#include <QString>

#include <functional>
#include <vector>

class OffscreenPanel;
class QImage;

namespace bench {

// One blit of the whole surface onto another image of its size: the baseline of the paints.
std::function<void()> BlitOf(const QImage& surface);

struct ScreenPaint {
    QString screen;
    Paired timing;  // against one blit
    int primitives;
};

// A full PaintScreen of the main, grouping (LED 1 opened), trigger (LED 1 opened), alarms and
// maintenance screens, each against one blit; the main screen is shown again afterwards.
std::vector<ScreenPaint> PaintEachScreen(OffscreenPanel& panel);

struct TickCost {
    double idleNanoseconds;    // the slowest step of the poll rhythm with nothing changed
    int idlePrimitives;        // drawn by all the unchanged ticks together
    double changeNanoseconds;  // a status read that finds one LED switched, its pixels drawn
    double changePrimitives;   // drawn per such tick, on average
};

// Poll ticks on the main screen with the unit's calls answered from memory, so the library's own
// time is left out.
TickCost MeasureTicks(OffscreenPanel& panel);

}  // namespace bench
