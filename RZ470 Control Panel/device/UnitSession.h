#pragma once

#include "DeviceApi.h"
#include "GroupingAndTrigger.h"
#include "StoredChannelValues.h"
#include "UnitDiscovery.h"
#include "UnitStateReader.h"
#include "UnitTable.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class Waits;

// What ApplyUnitSetting sends: the grouping tables, the TTL timeouts or the trigger sequence.
enum class UnitSetting { Grouping, TtlTimeouts, TriggerSequence };

// The panel's link to the unit: the bound library, the unit table, the grouping and trigger
// tables, the discovery and the full read, the poll rhythm, and every command the panel sends.
// Commands reach the unit only while it reports itself active.
class UnitSession : public QObject, private DiscoveryListener {
    Q_OBJECT

public:
    static constexpr uint16_t kStatusReadAt = 0;
    static constexpr uint16_t kIntensityReadAt = 5;
    static constexpr uint16_t kCountdownAfterRead = 10;
    static constexpr uint16_t kSplashTicks = 200;

    UnitSession(Waits& waits, StoredChannelValues stored);

    // Binds the device library found in searchDirs; the failure's message, or none.
    std::optional<QString> Bind(const QStringList& searchDirs);
    bool isBound() const { return api_.isBound(); }

    // One tick of the poll timer: discovery, the reads in their rhythm, the end of the title
    // phase. Does nothing inside another tick (a message box opened by a tick runs a loop that
    // keeps ticking) nor once the panel has stopped the session.
    void Tick();
    // The panel has ended: nothing more is read, sent or reported.
    void Stop() { stopped_ = true; }
    bool isStopped() const { return stopped_; }
    // Inside a tick, or a loop a tick opened: no command may be sent now.
    bool inTick() const { return inTick_; }

    // SetIntensityLevel with the nine levels the panel holds; false when nothing was sent: the
    // unit was not there, or a level is unknown.
    bool SendIntensities();
    // Switches one channel on or off and leaves the others alone; false when nothing was sent.
    bool SwitchChannel(size_t channel, bool on);
    // Switches every channel off.
    void SwitchAllOff();
    // Whether the unit answers now (DeviceActive).
    bool UnitActive() const;
    // The group lists, the trigger sequence and the TTL timeouts as the unit holds them now.
    void ReadGroupingAndTrigger();
    // Sends one kind of table as the panel holds it; for the grouping, the member lists are
    // first rebuilt from each channel's group number. True when the unit was there to take it
    // (what the panel stores of the setting follows only then).
    bool ApplyUnitSetting(UnitSetting kind);
    // Sends the grouping as ApplyUnitSetting does but without asking whether the unit is there:
    // a favourite loaded while the unit is away still goes out.
    void SendGroupingUnasked();
    // At close: the unit's grouping mode back as it was found, then SaveUserSettings when
    // wantsSave says so. Neither call looks at whether the unit answers.
    void RestoreGroupingAndOfferSave(const std::function<bool()>& wantsSave);

    DeviceApi& api() { return api_; }
    UnitTable& table() { return table_; }
    UnitSlot& unit() { return table_.unit(); }
    GroupingAndTrigger& tables() { return tables_; }
    uint16_t pollCountdown() const { return pollCountdown_; }
    uint16_t splashCountdown() const { return splashCountdown_; }

signals:
    // A tick begins, before anything is read: what changed since the last one was the panel's.
    void TickStarting();
    // A channel (the unit's index) was asked to switch; its state comes with the next status read.
    void SwitchAsked(size_t channel, bool on);
    // A status or intensity read landed: what is shown may differ from the unit now.
    void ValuesRead();
    // After a read: the unit's status word differs from the one last reported (the demo loop
    // watches it for alarms).
    void UnitStatusChanged();
    // The unit was read, or never came: the title window goes and the panel shows.
    void TitlePhaseEnded();
    // There is no unit: the user is told and the panel closes. A unit that was lost no longer
    // shows any LED lit when this comes.
    void UnitNotFound();
    // The unit kept its grouping on at start: the user is told and the panel closes.
    void GroupingNotCleared();

private:
    void UnitConnected() override;
    void UnitLost() override;
    void PollSlots();
    void ReportValuesRead();
    // The levels an intensity read brought. While some of the slot's levels are unknown, only
    // those are taken and then all nine are sent.
    void TakeReportedLevels(UnitSlot& slot, const std::array<uint16_t, rz470::kChannelCount>& reported);
    // Runs command(deviceIndex) when the unit is active; the panel's one guard on its commands.
    template <typename Command>
    bool SendWhenActive(Command&& command);
    void SendGrouping(uint16_t dev);

    DeviceApi api_;
    UnitTable table_;
    GroupingAndTrigger tables_;
    UnitDiscovery discovery_;
    UnitStateReader reader_;
    uint16_t pollCountdown_ = 0;
    uint16_t splashCountdown_ = kSplashTicks;
    bool inTick_ = false;
    bool stopped_ = false;
};
