#include "TriggerEdits.h"

#include "PanelSettings.h"
#include "UnitSession.h"

#include <limits>

namespace {

// The up arrow stops here: wrapping to 0 would turn the timeout off unasked.
constexpr uint16_t kLongestTimeout = std::numeric_limits<uint16_t>::max();

}  // namespace

GroupingAndTrigger& TriggerEdits::tables() {
    return session_.tables();
}

bool TriggerEdits::IsChannel(size_t channel) {
    return channel < static_cast<size_t>(rz470::kChannelCount);
}

ActionResult TriggerEdits::ApplyAndStoreTimeouts() {
    if (!session_.ApplyUnitSetting(UnitSetting::TtlTimeouts)) {
        return ActionResult::Sent(false);
    }
    const UnitSlot& unit = session_.unit();
    for (size_t channel = 0; channel < static_cast<size_t>(rz470::kChannelCount); ++channel) {
        settings_.SetTriggerOnValue(unit.channels[channel].wavelength, unit.channels[channel].onValue);
    }
    return ActionResult::Sent(true);
}

ActionResult TriggerEdits::ApplyAndStoreSequence() {
    if (!session_.ApplyUnitSetting(UnitSetting::TriggerSequence)) {
        return ActionResult::Sent(false);
    }
    for (int channel = 0; channel < rz470::kChannelCount; ++channel) {
        settings_.SetTriggerStep(channel, tables().triggerSequence[static_cast<size_t>(channel)]);
    }
    return ActionResult::Sent(true);
}

ActionResult TriggerEdits::SetTimeout(size_t channel, uint16_t minutes) {
    if (!IsChannel(channel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    tables().ttlTimeout[channel] = minutes;
    return ActionResult::Sent(session_.ApplyUnitSetting(UnitSetting::TtlTimeouts));
}

ActionResult TriggerEdits::StepTimeoutDown(size_t channel) {
    if (!IsChannel(channel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    uint16_t& timeout = tables().ttlTimeout[channel];
    if (timeout > kShortestTimeout) {
        --timeout;
    } else if (session_.unit().firmwareVersion >= kTimeoutOffFromVersion) {
        timeout = 0;
    } else {
        return ActionResult::Refused(ActionOutcome::Unchanged);
    }
    return ApplyAndStoreTimeouts();
}

ActionResult TriggerEdits::StepTimeoutUp(size_t channel) {
    if (!IsChannel(channel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    uint16_t& timeout = tables().ttlTimeout[channel];
    if (timeout >= kLongestTimeout) {
        return ActionResult::Refused(ActionOutcome::Unchanged);
    }
    timeout = timeout == 0 ? kShortestTimeout : static_cast<uint16_t>(timeout + 1);
    return ApplyAndStoreTimeouts();
}

ActionResult TriggerEdits::SetSequence(size_t channel, unsigned step) {
    if (!IsChannel(channel) || step > kLastSequenceStep) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    tables().triggerSequence[channel] = static_cast<uint8_t>(step);
    return ActionResult::Sent(session_.ApplyUnitSetting(UnitSetting::TriggerSequence));
}

ActionResult TriggerEdits::StepSequenceDown(size_t channel) {
    if (!IsChannel(channel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    uint8_t& step = tables().triggerSequence[channel];
    if (step == 0) {
        return ActionResult::Refused(ActionOutcome::Unchanged);
    }
    --step;
    return ApplyAndStoreSequence();
}

ActionResult TriggerEdits::StepSequenceUp(size_t channel) {
    if (!IsChannel(channel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    uint8_t& step = tables().triggerSequence[channel];
    if (step >= kLastSequenceStep) {
        return ActionResult::Refused(ActionOutcome::Unchanged);
    }
    ++step;
    return ApplyAndStoreSequence();
}

ActionResult TriggerEdits::ClearSequence(size_t channel) {
    if (!IsChannel(channel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    tables().triggerSequence[channel] = 0;
    return ApplyAndStoreSequence();
}
