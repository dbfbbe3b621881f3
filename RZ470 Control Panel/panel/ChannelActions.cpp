#include "ChannelActions.h"

#include "CError.h"
#include "CTextEntry.h"
#include "DeviceApi.h"
#include "IntensitySteps.h"
#include "LedName.h"
#include "MainScreen.h"
#include "NumberEntry.h"
#include "ProfileStore.h"
#include "Prompts.h"
#include "Screen.h"
#include "SettingsKeys.h"
#include "UnitTable.h"

#include <array>

namespace {

rz470::ChannelRecord& Channel(ScreenContext& ctx, int panel) {
    return ctx.table.channelAtPanel(panel);
}

bool UnitActive(ScreenContext& ctx) {
    return ctx.api.DeviceActive(ctx.table.unit().deviceIndex) != 0;
}

}  // namespace

uint16_t ChannelActions::MinimumLevel(int panel) const {
    return intensitysteps::MinimumLevel(Channel(ctx_, panel).minIntensityPercent);
}

void ChannelActions::SendIntensities() {
    if (!UnitActive(ctx_)) {
        return;
    }
    const auto& ch = ctx_.table.unit().channels;
    ctx_.api.SetIntensityLevel(ctx_.table.unit().deviceIndex, ch[0].intensity, ch[1].intensity,
                               ch[2].intensity, ch[3].intensity, ch[4].intensity, ch[5].intensity,
                               ch[6].intensity, ch[7].intensity, ch[8].intensity);
}

void ChannelActions::TypeIntensity(int panel) {
    rz470::ChannelRecord& record = Channel(ctx_, panel);
    NumberEntry entry(ctx_.prompts, ctx_.host.Window());
    entry.m_decimalMode = 1;
    entry.m_decimalValue = static_cast<float>(record.intensity / 10.0f);
    ctx_.prompts.runNumberEntry(entry);

    const std::optional<uint16_t> level =
        intensitysteps::TypedLevel(entry.m_decimalValue, MinimumLevel(panel));
    if (!level) {
        return;
    }
    record.intensity = *level;
    SendIntensities();
    screen_.ShowAndSaveIntensity(panel, false);
}

void ChannelActions::StepUp(int panel) {
    rz470::ChannelRecord& record = Channel(ctx_, panel);
    record.intensity = intensitysteps::StepUp(record.intensity, MinimumLevel(panel));
    screen_.ShowAndSaveIntensity(panel, false);
    SendIntensities();
}

void ChannelActions::StepDown(int panel) {
    rz470::ChannelRecord& record = Channel(ctx_, panel);
    record.intensity = intensitysteps::StepDown(record.intensity, MinimumLevel(panel));
    screen_.ShowAndSaveIntensity(panel, false);
    SendIntensities();
}

void ChannelActions::SliderChanged(int panel, int position) {
    if (panel < 0 || panel >= rz470::kChannelCount) {
        return;
    }
    const auto level = static_cast<uint16_t>(rz470::kMaxIntensity - position);
    rz470::ChannelRecord& shown = ctx_.table.shownAtPanel(panel);
    // A press and release without movement sends the level once.
    if (level == shown.intensity) {
        return;
    }
    shown.intensity = level;
    Channel(ctx_, panel).intensity = level;
    SendIntensities();
    screen_.ShowAndSaveIntensity(panel, true);
}

void ChannelActions::ToggleSwitch(int panel) {
    rz470::ChannelRecord& record = Channel(ctx_, panel);
    const bool on = (record.status & rz470::ChannelStatus::LedOn) != 0;
    if (record.triggered == 1 || (record.status & rz470::ChannelStatus::Fitted) == 0) {
        screen_.DrawSwitch(panel, on);
        return;
    }
    const auto refuse = [&](uint8_t message) {
        ctx_.prompts.showError(ctx_.host.ErrorPopup(), message);
        // The pressed look asked for a state the unit never got; the poll would not correct it
        // when the channel's status does not change.
        screen_.DrawSwitch(panel, on);
    };
    if ((record.status & rz470::ChannelStatus::AlarmMask) != 0) {
        refuse(CError::AlarmActive);
        // The next status read brings the unit's own bits back.
        record.status &= rz470::ChannelStatus::LedOn;
        return;
    }
    if ((ctx_.table.unit().unitStatus & rz470::UnitStatus::LightGuideInserted) == 0) {
        refuse(CError::LightGuideOut);
        return;
    }

    const size_t channel = ctx_.table.panelMap[static_cast<size_t>(panel)];
    std::array<uint8_t, rz470::kChannelCount> flags{};
    // TurnOFFLEDs switches off where a flag is 0; TurnONLEDs switches on where it is 1.
    flags.fill(on ? 1 : 0);
    flags[channel] = on ? 0 : 1;
    if (!UnitActive(ctx_)) {
        return;
    }
    const uint16_t dev = ctx_.table.unit().deviceIndex;
    const auto send = on ? ctx_.api.TurnOFFLEDs : ctx_.api.TurnONLEDs;
    send(dev, flags[0], flags[1], flags[2], flags[3], flags[4], flags[5], flags[6], flags[7], flags[8]);
    // The switch keeps its pressed look until the poll reads the unit's new state.
}

void ChannelActions::RenameChannel(int panel) {
    rz470::ChannelRecord& record = Channel(ctx_, panel);
    CTextEntry entry(ctx_.host.Window());
    entry.m_name = LedName::FromNarrow(record.name);
    entry.m_wavelength = record.wavelength;
    entry.m_rangeLow = record.rangeLow;
    entry.m_rangeHigh = record.rangeHigh;
    entry.m_unitVersion = ctx_.table.unit().firmwareVersion;
    ctx_.prompts.runTextEntry(entry);

    // A name that does not fit (a long one the unit reported, back from a cancelled dialog)
    // leaves the channel's name as it was.
    LedName::Store(entry.m_name, record.name);
    screen_.DrawChannelName(panel);
    ctx_.profile.writeString(settings::kNamesSection,
                             settings::valueName(settings::kNameValue, record.wavelength),
                             LedName::FromNarrow(record.name));
}
