#include "ChannelActions.h"

#include "CError.h"
#include "CTextEntry.h"
#include "IntensitySteps.h"
#include "LedName.h"
#include "NumberEntry.h"
#include "PanelSettings.h"
#include "Prompts.h"
#include "UnitSession.h"

rz470::ChannelRecord& ChannelActions::Channel(int panel) {
    return session_.table().channelAtPanel(panel);
}

bool ChannelActions::LevelUnknown(int panel) {
    return session_.unit().levelUnknown[session_.table().panelMap[static_cast<size_t>(panel)]];
}

void ChannelActions::HoldLevel(int panel, uint16_t level) {
    session_.unit().holdLevel(session_.table().panelMap[static_cast<size_t>(panel)], level);
}

uint16_t ChannelActions::MinimumLevel(int panel) {
    return intensitysteps::MinimumLevel(Channel(panel).minIntensityPercent);
}

bool ChannelActions::TypeIntensity(int panel) {
    rz470::ChannelRecord& record = Channel(panel);
    NumberEntry entry(prompts_, &window_);
    entry.m_decimalMode = 1;
    const float opened = static_cast<float>(record.intensity / 10.0f);
    entry.m_decimalValue = opened;
    prompts_.runNumberEntry(entry);

    // An unknown level opens as 0: getting that back unchanged sets nothing.
    if (LevelUnknown(panel) && entry.m_decimalValue == opened) {
        return false;
    }
    const std::optional<uint16_t> level =
        intensitysteps::TypedLevel(entry.m_decimalValue, MinimumLevel(panel));
    if (!level) {
        return false;
    }
    HoldLevel(panel, *level);
    session_.SendIntensities();
    return true;
}

void ChannelActions::StepUp(int panel) {
    HoldLevel(panel, intensitysteps::StepUp(Channel(panel).intensity, MinimumLevel(panel)));
}

void ChannelActions::StepDown(int panel) {
    HoldLevel(panel, intensitysteps::StepDown(Channel(panel).intensity, MinimumLevel(panel)));
}

bool ChannelActions::SliderChanged(int panel, int position) {
    if (panel < 0 || panel >= rz470::kChannelCount) {
        return false;
    }
    const auto level = static_cast<uint16_t>(rz470::kMaxIntensity - position);
    rz470::ChannelRecord& shown = session_.table().shownAtPanel(panel);
    // A press and release without movement sends the level once.
    if (level == shown.intensity) {
        return false;
    }
    shown.intensity = level;
    HoldLevel(panel, level);
    session_.SendIntensities();
    return true;
}

bool ChannelActions::ToggleSwitch(int panel) {
    rz470::ChannelRecord& record = Channel(panel);
    if (record.triggered == 1 || (record.status & rz470::ChannelStatus::Fitted) == 0) {
        return false;
    }
    if ((record.status & rz470::ChannelStatus::AlarmMask) != 0) {
        prompts_.showError(errorPopup_, CError::AlarmActive);
        // The next status read brings the unit's own bits back.
        record.status &= rz470::ChannelStatus::LedOn;
        return false;
    }
    if ((session_.unit().unitStatus & rz470::UnitStatus::LightGuideInserted) == 0) {
        prompts_.showError(errorPopup_, CError::LightGuideOut);
        return false;
    }
    const bool on = (record.status & rz470::ChannelStatus::LedOn) == 0;
    if (!session_.SwitchChannel(session_.table().panelMap[static_cast<size_t>(panel)], on)) {
        return false;
    }
    // The switch keeps its pressed look, the state asked for, until the poll reads the unit's.
    // The shown copy says so: a unit that did not follow then differs from it and the switch
    // is drawn again as the unit has it.
    rz470::ChannelRecord& shown = session_.table().shownAtPanel(panel);
    shown.status = static_cast<uint16_t>(on ? shown.status | rz470::ChannelStatus::LedOn
                                            : shown.status & ~rz470::ChannelStatus::LedOn);
    return true;
}

void ChannelActions::RenameChannel(int panel) {
    rz470::ChannelRecord& record = Channel(panel);
    CTextEntry entry(&window_);
    entry.m_name = LedName::FromNarrow(record.name);
    entry.m_wavelength = record.wavelength;
    entry.m_rangeLow = record.rangeLow;
    entry.m_rangeHigh = record.rangeHigh;
    entry.m_unitVersion = session_.unit().firmwareVersion;
    prompts_.runTextEntry(entry);

    // A name that does not fit (a long one the unit reported, back from a cancelled dialog)
    // leaves the channel's name as it was.
    LedName::Store(entry.m_name, record.name);
    settings_.SetChannelName(record.wavelength, LedName::FromNarrow(record.name));
}
