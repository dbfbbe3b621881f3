#include "ChannelActions.h"

#include "IntensitySteps.h"
#include "LedName.h"
#include "PanelSettings.h"
#include "UnitSession.h"

bool ChannelActions::IsPanel(int panel) {
    return panel >= 0 && panel < rz470::kChannelCount;
}

rz470::ChannelRecord& ChannelActions::Channel(int panel) {
    return session_.table().channelAtPanel(panel);
}

uint16_t ChannelActions::MinimumLevel(int panel) {
    return intensitysteps::MinimumLevel(Channel(panel).minIntensityPercent);
}

ActionResult ChannelActions::SendAndStore(int panel) {
    const bool sent = session_.SendIntensities();
    const rz470::ChannelRecord& record = Channel(panel);
    // A channel that is not fitted shows no level, and none of it is kept.
    if ((record.status & rz470::ChannelStatus::Fitted) != 0) {
        settings_.SetChannelIntensity(record.wavelength, record.intensity);
    }
    return ActionResult::Sent(sent);
}

ActionResult ChannelActions::SetTypedLevel(int panel, float percent) {
    if (!IsPanel(panel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    const std::optional<uint16_t> level = intensitysteps::TypedLevel(percent, MinimumLevel(panel));
    if (!level) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    Channel(panel).intensity = *level;
    return SendAndStore(panel);
}

ActionResult ChannelActions::SetShownLevel(int panel, uint16_t level) {
    if (!IsPanel(panel) || level > rz470::kMaxIntensity) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    rz470::ChannelRecord& shown = session_.table().shownAtPanel(panel);
    if (level == shown.intensity) {
        return ActionResult::Refused(ActionOutcome::Unchanged);
    }
    shown.intensity = level;
    Channel(panel).intensity = level;
    return SendAndStore(panel);
}

ActionResult ChannelActions::StepUp(int panel) {
    if (!IsPanel(panel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    rz470::ChannelRecord& record = Channel(panel);
    record.intensity = intensitysteps::StepUp(record.intensity, MinimumLevel(panel));
    return SendAndStore(panel);
}

ActionResult ChannelActions::StepDown(int panel) {
    if (!IsPanel(panel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    rz470::ChannelRecord& record = Channel(panel);
    record.intensity = intensitysteps::StepDown(record.intensity, MinimumLevel(panel));
    return SendAndStore(panel);
}

ActionResult ChannelActions::ToggleSwitch(int panel) {
    if (!IsPanel(panel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    rz470::ChannelRecord& record = Channel(panel);
    if (record.triggered == 1) {
        return ActionResult::Refused(ActionOutcome::Triggered);
    }
    if ((record.status & rz470::ChannelStatus::Fitted) == 0) {
        return ActionResult::Refused(ActionOutcome::NotFitted);
    }
    if ((record.status & rz470::ChannelStatus::AlarmMask) != 0) {
        // The next status read brings the unit's own bits back.
        record.status &= rz470::ChannelStatus::LedOn;
        return {ActionOutcome::AlarmActive, WarningPopup::AlarmActive, {}, {}};
    }
    if ((session_.unit().unitStatus & rz470::UnitStatus::LightGuideInserted) == 0) {
        return {ActionOutcome::LightGuideOut, WarningPopup::LightGuideOut, {}, {}};
    }
    return ActionResult::Sent(session_.SwitchChannel(session_.table().panelMap[static_cast<size_t>(panel)],
                                                     (record.status & rz470::ChannelStatus::LedOn) == 0));
}

ActionResult ChannelActions::Rename(int panel, const QString& name) {
    if (!IsPanel(panel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    rz470::ChannelRecord& record = Channel(panel);
    const bool fits = LedName::Store(name, record.name);
    settings_.SetChannelName(record.wavelength, LedName::FromNarrow(record.name));
    return fits ? ActionResult{} : ActionResult::Refused(ActionOutcome::OutOfRange);
}
