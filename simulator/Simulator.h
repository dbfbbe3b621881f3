// The simulated bus: the units that can be plugged, the injected faults, the call log and the
// control channel. One instance per loaded library, made on first use.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "CallLog.h"
#include "ControlSpool.h"
#include "FaultPlan.h"
#include "SimPaths.h"
#include "SimUnit.h"

class Simulator {
public:
    static constexpr int kMaxUnits = 10;  // as many as the panel has slots for

    static Simulator& instance();

    // Back to the start-up set-up: paths and configuration from the environment, faults and log
    // cleared; with `withSavedState` also the settings each unit saved, as a fresh load does.
    void load(bool withSavedState);

    // The plugged unit answering to a device index, or null.
    SimUnit* activeUnit(uint16_t deviceIndex);
    SimUnit& unit(int number) { return units_[number]; }
    const SimUnit& unit(int number) const { return units_[number]; }
    int pluggedCount() const;

    bool saveSettings(const SimUnit& unit, std::string& error) const;
    // Answers what the rz470-sim tool has sent; called from UpdateData.
    void serveControl();
    // Runs one control command; the text stays valid until the next call.
    const char* command(const char* text);

    CallLog& log() { return log_; }
    FaultPlan& faults() { return faults_; }
    const FaultPlan& faults() const { return faults_; }
    const SimPaths& paths() const { return paths_; }

    // Runs an entry point's body under the fault plan and logs the call.
    template <typename Body>
    int run(EntryId id, const std::string& args, Body&& body) {
        faults_.waitDelay(id);
        const bool injected = faults_.takeFailure(id);
        const int result = injected ? 0 : std::forward<Body>(body)();
        log_.append(std::string(rz470::kEntryPointNames[id]) + '(' + args + ") -> " + std::to_string(result) +
                    (injected ? " (injected)" : ""));
        return result;
    }

private:
    Simulator();

    std::array<SimUnit, kMaxUnits> units_;
    SimPaths paths_;
    ControlSpool::Seen spoolSeen_;
    CallLog log_;
    FaultPlan faults_;
    std::string reply_;
};
