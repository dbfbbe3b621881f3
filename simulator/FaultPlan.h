// Injected misbehaviour per entry point: a number of calls still to fail, and a delay per call.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "EntryId.h"

class FaultPlan {
public:
    static constexpr unsigned long kMaxFailures = 1000000;
    static constexpr unsigned long kMaxDelayMs = 10000;  // longer would freeze a panel for good

    // The id of an entry point by its exact name, or -1.
    static int find(std::string_view name);

    void setFailures(EntryId id, unsigned long count) { failures_[id] = count; }
    void setDelay(EntryId id, unsigned long ms) { delaysMs_[id] = ms; }
    // True when this call is to fail; counts it off.
    bool takeFailure(EntryId id);
    void waitDelay(EntryId id) const;
    void clear();
    // key=value lines of what is armed, empty when nothing is.
    std::string describe() const;

private:
    std::array<unsigned long, kCallCount> failures_{};
    std::array<unsigned long, kCallCount> delaysMs_{};
};
