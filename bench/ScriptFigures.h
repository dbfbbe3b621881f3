#pragma once

// The script socket's figures, taken in this process against the panel on its private simulated
// unit: a client thread talks to the socket while the panel's thread serves it.
#include <QByteArray>

class OffscreenPanel;

namespace bench {

struct RoundTrips {
    double scriptNs;  // median round trip of a set-level command to the panel's socket
    double echoNs;    // median round trip of the same line to a bare echo over a local socket
};
RoundTrips MeasureRoundTrips(OffscreenPanel& panel, int count);

struct SustainedLevels {
    double perSecond;       // level commands answered per second, one after the other
    bool eachAtTheUnit;     // every command changed the level the panel sent and reported it
    bool eachOnScreen;      // the screen showed the last one when the last answer came
    long residentGrowthKb;  // resident memory after against before
};
SustainedLevels MeasureSustainedLevels(OffscreenPanel& panel, int seconds);

}  // namespace bench
