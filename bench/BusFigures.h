#pragma once

// The session bus's round trip: a SetLevel through the panel, and a read that stores nothing,
// against a bare echo over the same private bus, taken in turn in the same run.
#include <QString>

#include <vector>

class CRZ470ControlPanelDlg;

namespace bench {

struct BusRoundTrips {
    QString failure;                 // empty when it ran
    std::vector<double> setLevelNs;  // per call, one figure a run
    std::vector<double> readNs;      // GetChannel: the same trip with nothing stored
    std::vector<double> echoNs;
};

BusRoundTrips MeasureBusRoundTrips(CRZ470ControlPanelDlg& dialog, int runs, int callsPerRun = 200);

}  // namespace bench
