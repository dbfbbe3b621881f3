#include "GroupingEdits.h"

#include "UnitSession.h"

GroupingAndTrigger& GroupingEdits::tables() {
    return session_.tables();
}

ActionResult GroupingEdits::Apply() {
    return ActionResult::Sent(session_.ApplyUnitSetting(UnitSetting::Grouping));
}

ActionResult GroupingEdits::SetGroup(size_t channel, unsigned group) {
    if (channel >= tables().ledGroup.size() || group > tables().MaxGroup()) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    tables().ledGroup[channel] = static_cast<uint8_t>(group);
    return Apply();
}

ActionResult GroupingEdits::StepGroupDown(size_t channel) {
    if (channel >= tables().ledGroup.size()) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    uint8_t& group = tables().ledGroup[channel];
    if (group == 0) {
        return ActionResult::Refused(ActionOutcome::Unchanged);
    }
    --group;
    return Apply();
}

ActionResult GroupingEdits::StepGroupUp(size_t channel) {
    if (channel >= tables().ledGroup.size()) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    uint8_t& group = tables().ledGroup[channel];
    if (group >= tables().MaxGroup()) {
        return ActionResult::Refused(ActionOutcome::Unchanged);
    }
    ++group;
    return Apply();
}

ActionResult GroupingEdits::ClearGroup(size_t channel) {
    return SetGroup(channel, 0);
}

ActionResult GroupingEdits::SwitchMode(uint8_t mode) {
    if (mode < 1 || mode >= GroupingAndTrigger::kModeCount) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    GroupingAndTrigger& grouping = tables();
    ActionResult result;
    if (grouping.groupingMode == mode) {
        grouping.ledGroup.fill(0);
        grouping.groupingMode = 0;
        result = Apply();
    } else {
        grouping.groupingMode = mode;
    }
    if (grouping.ExceedsMode()) {
        result.message = QString::fromLatin1(kExceedsLimitText);
        result.title = QString::fromLatin1(kExceedsLimitTitle);
    }
    return result;
}

ActionResult GroupingEdits::SendLoaded() {
    session_.SendGroupingUnasked();
    return {};
}
