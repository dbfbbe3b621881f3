#pragma once

#include "ActionResult.h"

#include <cstddef>
#include <cstdint>

class PanelSettings;
class UnitSession;
struct GroupingAndTrigger;

// The trigger screen's edits of one channel (the unit's index, 0..8): its TTL timeout in minutes
// and its trigger sequence number. Each goes to the unit at once as the nine values of its kind;
// what the arrows and CLEAR TRIGGER set is also stored, a typed value is not.
class TriggerEdits {
public:
    // The arrows keep a timeout at 0 (off) or at 5 minutes and above; only units from version 120
    // on take 0 from the arrows.
    static constexpr uint16_t kShortestTimeout = 5;
    static constexpr uint16_t kTimeoutOffFromVersion = 120;
    // Sequence numbers the unit takes; 0 leaves the LED out.
    static constexpr uint8_t kLastSequenceStep = 9;

    TriggerEdits(UnitSession& session, PanelSettings& settings) : session_(session), settings_(settings) {}

    // Any timeout, 0 included on any unit.
    ActionResult SetTimeout(size_t channel, uint16_t minutes);
    ActionResult StepTimeoutDown(size_t channel);
    ActionResult StepTimeoutUp(size_t channel);
    // A number the unit has no step for is refused.
    ActionResult SetSequence(size_t channel, unsigned step);
    ActionResult StepSequenceDown(size_t channel);
    ActionResult StepSequenceUp(size_t channel);
    ActionResult ClearSequence(size_t channel);

private:
    GroupingAndTrigger& tables();
    static bool IsChannel(size_t channel);
    // Send the nine values of a kind and, when the unit took them, store them.
    ActionResult ApplyAndStoreTimeouts();
    ActionResult ApplyAndStoreSequence();

    UnitSession& session_;
    PanelSettings& settings_;
};
