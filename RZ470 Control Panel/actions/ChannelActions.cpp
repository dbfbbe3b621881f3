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

size_t ChannelActions::ChannelIndex(int panel) const {
    return session_.table().panelMap[static_cast<size_t>(panel)];
}

void ChannelActions::HoldLevel(int panel, uint16_t level) {
    session_.unit().holdLevel(ChannelIndex(panel), level);
}

uint16_t ChannelActions::MinimumLevel(int panel) {
    return intensitysteps::MinimumLevel(Channel(panel).minIntensityPercent);
}

ActionResult ChannelActions::SendAndStore(const std::vector<int>& panels) {
    const bool sent = session_.SendIntensities();
    for (const int panel : panels) {
        const rz470::ChannelRecord& record = Channel(panel);
        // A channel that is not fitted shows no level, and none of it is kept; nor is a level not
        // known.
        if ((record.status & rz470::ChannelStatus::Fitted) != 0 &&
            !session_.unit().levelUnknown[ChannelIndex(panel)]) {
            settings_.SetChannelIntensity(record.wavelength, record.intensity);
        }
    }
    return ActionResult::Sent(sent);
}

ActionResult ChannelActions::SetTypedLevel(int panel, float percent) {
    return SetTypedLevels({panel}, percent);
}

ActionResult ChannelActions::SetTypedLevels(const std::vector<int>& panels, float percent) {
    std::vector<uint16_t> levels;
    for (const int panel : panels) {
        if (!IsPanel(panel)) {
            return ActionResult::Refused(ActionOutcome::OutOfRange);
        }
        const std::optional<uint16_t> level = intensitysteps::TypedLevel(percent, MinimumLevel(panel));
        if (!level) {
            return ActionResult::Refused(ActionOutcome::OutOfRange);
        }
        levels.push_back(*level);
    }
    for (size_t i = 0; i < panels.size(); ++i) {
        HoldLevel(panels[i], levels[i]);
    }
    return SendAndStore(panels);
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
    HoldLevel(panel, level);
    return SendAndStore(panel);
}

ActionResult ChannelActions::StepUp(int panel) {
    if (!IsPanel(panel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    HoldLevel(panel, intensitysteps::StepUp(Channel(panel).intensity, MinimumLevel(panel)));
    return SendAndStore(panel);
}

ActionResult ChannelActions::StepDown(int panel) {
    if (!IsPanel(panel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    HoldLevel(panel, intensitysteps::StepDown(Channel(panel).intensity, MinimumLevel(panel)));
    return SendAndStore(panel);
}

ActionResult ChannelActions::ToggleSwitch(int panel) {
    if (!IsPanel(panel)) {
        return ActionResult::Refused(ActionOutcome::OutOfRange);
    }
    return Switch(panel, (Channel(panel).status & rz470::ChannelStatus::LedOn) == 0);
}

ActionResult ChannelActions::Switch(int panel, bool on) {
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
    // An alarm or a light guide out is a reason to keep an LED dark, never to keep one lit.
    if (on && (record.status & rz470::ChannelStatus::AlarmMask) != 0) {
        // The next status read brings the unit's own bits back.
        record.status &= rz470::ChannelStatus::LedOn;
        return {ActionOutcome::AlarmActive, WarningPopup::AlarmActive, {}, {}};
    }
    if (on && (session_.unit().unitStatus & rz470::UnitStatus::LightGuideInserted) == 0) {
        return {ActionOutcome::LightGuideOut, WarningPopup::LightGuideOut, {}, {}};
    }
    if (!session_.SwitchChannel(ChannelIndex(panel), on)) {
        return ActionResult::Sent(false);
    }
    rz470::ChannelRecord& shown = session_.table().shownAtPanel(panel);
    shown.status = static_cast<uint16_t>(on ? shown.status | rz470::ChannelStatus::LedOn
                                            : shown.status & ~rz470::ChannelStatus::LedOn);
    return ActionResult::Sent(true);
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
