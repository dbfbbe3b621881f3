#pragma once

#include "UnitDiscovery.h"

#include <cstdint>

struct DeviceApi;
class ScreenRedraws;
class UnitTable;

// What the poll tick asks of the main dialog.
class PollHost {
public:
    virtual ~PollHost() = default;
    virtual int CurrentScreen() const = 0;
    // The panel has closed: nothing more may be shown, drawn or stored.
    virtual bool HasEnded() const = 0;
    virtual void ReadUnitState() = 0;
    virtual void StopPollTimer() = 0;
    // Hide the title window and bring the main window back.
    virtual void EndTitlePhase() = 0;
    // Tell the user no unit is there, then close the panel.
    virtual void ReportUnitNotFound() = 0;
};

// The poll tick: discovery, the status and intensity reads in their rhythm, change detection
// and the end of the title phase.
class StatusPoller : private DiscoveryListener {
public:
    static constexpr int kMainScreen = 1;
    static constexpr int kAlarmsScreen = 12;
    static constexpr uint16_t kStatusReadAt = 0;
    static constexpr uint16_t kIntensityReadAt = 5;
    static constexpr uint16_t kCountdownAfterRead = 10;
    static constexpr uint16_t kSplashTicks = 200;

    StatusPoller(DeviceApi& api, UnitTable& table, UnitDiscovery& discovery, PollHost& host,
                 ScreenRedraws& redraws)
        : api_(api), table_(table), discovery_(discovery), host_(host), redraws_(&redraws) {}

    // One tick of the poll timer. A tick that arrives while an earlier one waits in a message
    // box does nothing.
    void Tick();

    // Compares the unit with what the screens last showed and redraws what changed.
    void DetectChanges();

    uint16_t pollCountdown() const { return pollCountdown_; }
    uint16_t splashCountdown() const { return splashCountdown_; }
    void setRedraws(ScreenRedraws& redraws) { redraws_ = &redraws; }

private:
    void UnitConnected() override;
    void UnitLost() override;
    void PollSlots();

    DeviceApi& api_;
    UnitTable& table_;
    UnitDiscovery& discovery_;
    PollHost& host_;
    ScreenRedraws* redraws_;
    uint16_t pollCountdown_ = 0;
    uint16_t splashCountdown_ = kSplashTicks;
    bool inTick_ = false;
};
