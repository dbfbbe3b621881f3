#include "StatusPoller.h"

#include "DeviceApi.h"
#include "ScreenRedraws.h"
#include "UnitTable.h"

#include <cstring>

namespace {

// Clears the flag when the tick ends, however it ends.
class TickGuard {
public:
    explicit TickGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~TickGuard() { flag_ = false; }
    TickGuard(const TickGuard&) = delete;
    TickGuard& operator=(const TickGuard&) = delete;

private:
    bool& flag_;
};

}  // namespace

void StatusPoller::Tick() {
    // Message boxes opened inside a tick run nested loops that keep dispatching ticks; running
    // the body again there would re-enter the discovery and the reads half-way.
    if (inTick_) {
        return;
    }
    TickGuard guard(inTick_);

    discovery_.Step(*this);
    // The discovery may have closed the panel (unit lost, grouping not cleared).
    if (host_.HasEnded()) {
        return;
    }
    PollSlots();

    if (splashCountdown_ != 0) {
        --splashCountdown_;
        if (splashCountdown_ == 0) {
            host_.EndTitlePhase();
            if (api_.DeviceActive(table_.unit().deviceIndex) == 0) {
                host_.ReportUnitNotFound();
            }
        }
    }
}

void StatusPoller::PollSlots() {
    for (UnitSlot& slot : table_.unitSlots) {
        // Empty slots are never active; they need no call to say so.
        if (slot.isEmpty() || api_.DeviceActive(slot.deviceIndex) == 0) {
            continue;
        }
        auto& ch = slot.channels;
        if (pollCountdown_ == kStatusReadAt) {
            api_.GetUnitStatus(slot.deviceIndex, &ch[0], &ch[1], &ch[2], &ch[3], &ch[4], &ch[5], &ch[6],
                               &ch[7], &ch[8], &slot.unitStatus);
            DetectChanges();
            pollCountdown_ = kCountdownAfterRead - 1;
        } else if (pollCountdown_ == kIntensityReadAt) {
            api_.GetIntensityLevel(slot.deviceIndex, &ch[0].intensity, &ch[1].intensity, &ch[2].intensity,
                                   &ch[3].intensity, &ch[4].intensity, &ch[5].intensity, &ch[6].intensity,
                                   &ch[7].intensity, &ch[8].intensity);
            DetectChanges();
            pollCountdown_ = kIntensityReadAt - 1;
        } else {
            --pollCountdown_;
        }
    }
}

void StatusPoller::DetectChanges() {
    UnitSlot& unit = table_.unit();
    const int screen = host_.CurrentScreen();
    for (int k = 0; k < rz470::kChannelCount; ++k) {
        rz470::ChannelRecord& now = unit.channels[static_cast<size_t>(k)];
        rz470::ChannelRecord& shown = unit.shownChannels[static_cast<size_t>(k)];

        // Off the main and alarm screens the shown copy keeps its value, so the change is
        // drawn once one of them is back.
        if (now.status != shown.status) {
            if (screen == kMainScreen) {
                redraws_->DrawSwitch(k, (now.status & rz470::ChannelStatus::LedOn) != 0);
                shown.status = now.status;
            } else if (screen == kAlarmsScreen) {
                redraws_->UpdateAlarmTiles();
                shown.status = now.status;
            }
        }
        if (now.intensity != shown.intensity && now.intensity <= rz470::kMaxIntensity &&
            screen == kMainScreen) {
            redraws_->ShowAndSaveIntensity(k, false);
            shown.intensity = now.intensity;
        }
        if (std::strncmp(now.name, shown.name, sizeof now.name) != 0 && screen == kMainScreen) {
            std::memcpy(shown.name, now.name, sizeof shown.name);
            redraws_->DrawChannelName(k);
        }
    }

    if (unit.unitStatus != unit.shownUnitStatus) {
        redraws_->DrawStatusIcons();
        if (screen == kAlarmsScreen) {
            redraws_->UpdateAlarmTiles();
        }
        redraws_->CheckDemoLoopAlarm(unit);
        unit.shownUnitStatus = unit.unitStatus;
    }
}

void StatusPoller::UnitConnected() {
    host_.ReadUnitState();
    pollCountdown_ = kCountdownAfterRead;
    splashCountdown_ = 1;
}

void StatusPoller::UnitLost() {
    host_.StopPollTimer();
    host_.ReportUnitNotFound();
}
