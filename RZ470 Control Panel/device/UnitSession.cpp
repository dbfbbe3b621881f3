#include "UnitSession.h"

#include "LibraryBinding.h"
#include "NineChannels.h"

#include <QScopedValueRollback>

#include <array>

UnitSession::UnitSession(Waits& waits, StoredChannelValues stored)
    : discovery_(api_, waits, table_), reader_(api_, waits, std::move(stored)) {}

std::optional<QString> UnitSession::Bind(const QStringList& searchDirs) {
    std::optional<QString> failure = BindDeviceLibrary(api_, searchDirs);
    if (!failure) {
        table_.deviceCount = 0;
        table_.knownDeviceCount = 0;
    }
    return failure;
}

void UnitSession::Tick() {
    if (inTick_ || stopped_) {
        return;
    }
    const QScopedValueRollback<bool> guard(inTick_, true);
    emit TickStarting();

    discovery_.Step(*this);
    // The discovery may have closed the panel (unit lost, grouping not cleared).
    if (stopped_) {
        return;
    }
    PollSlots();

    if (splashCountdown_ != 0) {
        --splashCountdown_;
        if (splashCountdown_ == 0) {
            emit TitlePhaseEnded();
            if (!UnitActive()) {
                emit UnitNotFound();
            }
        }
    }
}

void UnitSession::PollSlots() {
    // One rhythm for every unit: each active one gets the read that falls due on this tick. A
    // count stepped once per unit would, with a second unit connected, leave the unit in slot 0
    // with only one kind of read, its alarms or its knob never seen again.
    const bool statusDue = pollCountdown_ == kStatusReadAt;
    const bool intensityDue = pollCountdown_ == kIntensityReadAt;
    bool anyActive = false;
    for (UnitSlot& slot : table_.unitSlots) {
        // Empty slots are never active; they need no call to say so.
        if (stopped_ || slot.isEmpty() || api_.DeviceActive(slot.deviceIndex) == 0) {
            continue;
        }
        anyActive = true;
        auto& ch = slot.channels;
        if (statusDue) {
            rz470::ForNineChannels([&ch](size_t c) { return &ch[c]; },
                                   [&](auto... records) {
                                       return api_.GetUnitStatus(slot.deviceIndex, records...,
                                                                 &slot.unitStatus);
                                   });
            ReportValuesRead();
        } else if (intensityDue) {
            // Read aside, so a failed read leaves the levels as they were.
            std::array<uint16_t, rz470::kChannelCount> reported{};
            if (rz470::ForNineChannels([&reported](size_t c) { return &reported[c]; },
                                       [&](auto... levels) {
                                           return api_.GetIntensityLevel(slot.deviceIndex, levels...);
                                       }) != 0) {
                TakeReportedLevels(slot, reported);
            }
            ReportValuesRead();
        }
    }
    if (!anyActive) {
        return;
    }
    if (statusDue) {
        pollCountdown_ = kCountdownAfterRead - 1;
    } else if (intensityDue) {
        pollCountdown_ = kIntensityReadAt - 1;
    } else {
        --pollCountdown_;
    }
}

void UnitSession::ReportValuesRead() {
    emit ValuesRead();
    // Those who redraw on the read come first; the status word is then taken as reported.
    UnitSlot& slot = unit();
    if (slot.unitStatus != slot.reportedUnitStatus) {
        emit UnitStatusChanged();
        slot.reportedUnitStatus = slot.unitStatus;
    }
}

void UnitSession::TakeReportedLevels(UnitSlot& slot,
                                     const std::array<uint16_t, rz470::kChannelCount>& reported) {
    const bool wereUnknown = slot.anyLevelUnknown();
    for (size_t c = 0; c < reported.size(); ++c) {
        // Until the levels are known, those the panel holds (stored or set by the user) have not
        // reached the unit and stay.
        if (!wereUnknown || !slot.levelHeld[c]) {
            slot.takeReportedLevel(c, reported[c]);
        }
    }
    if (wereUnknown && !slot.anyLevelUnknown()) {
        // What could not go while a level was unknown goes now.
        if (&slot == &unit()) {
            SendIntensities();
        }
        slot.levelHeld.fill(false);
    }
}

void UnitSession::UnitConnected() {
    if (!reader_.ReadUnitState(table_.unit(), tables_)) {
        emit GroupingNotCleared();
        return;
    }
    ReadGroupingAndTrigger();
    pollCountdown_ = kCountdownAfterRead;
    splashCountdown_ = 1;
}

void UnitSession::UnitLost() {
    // Whatever the unit had lit, the panel can no longer see: nothing is shown or read as lit.
    UnitSlot& slot = unit();
    for (rz470::ChannelRecord& record : slot.channels) {
        record.status = static_cast<uint16_t>(record.status & ~rz470::ChannelStatus::LedOn);
    }
    slot.unitStatus = static_cast<uint16_t>(slot.unitStatus & ~rz470::UnitStatus::LedOn);
    emit UnitNotFound();
}

bool UnitSession::UnitActive() const {
    return api_.DeviceActive(table_.unit().deviceIndex) != 0;
}

template <typename Command>
bool UnitSession::SendWhenActive(Command&& command) {
    // A dialog that outlived the panel's end may still hand back a value: it goes nowhere.
    if (stopped_ || !UnitActive()) {
        return false;
    }
    command(table_.unit().deviceIndex);
    return true;
}

bool UnitSession::SendIntensities() {
    // The unit takes all nine at once: with one level unknown nothing can go. The first
    // intensity read that works sends them.
    if (unit().anyLevelUnknown()) {
        return false;
    }
    return SendWhenActive([this](uint16_t dev) { SendIntensityLevels(api_, dev, table_.unit().channels); });
}

bool UnitSession::SwitchChannel(size_t channel, bool on) {
    if (channel >= static_cast<size_t>(rz470::kChannelCount)) {
        return false;
    }
    // TurnOFFLEDs switches off where a flag is 0; TurnONLEDs switches on where it is 1.
    std::array<uint8_t, rz470::kChannelCount> flags{};
    flags.fill(on ? 0 : 1);
    flags[channel] = on ? 1 : 0;
    return SendWhenActive([&](uint16_t dev) {
        const auto send = on ? api_.TurnONLEDs : api_.TurnOFFLEDs;
        rz470::ForNineChannels([&flags](size_t c) { return flags[c]; },
                               [&](auto... each) { return send(dev, each...); });
        emit SwitchAsked(channel, on);
    });
}

void UnitSession::SwitchAllOff() {
    SendWhenActive([this](uint16_t dev) {
        rz470::ForNineChannels([](size_t) { return uint8_t{0}; },
                               [&](auto... each) { return api_.TurnOFFLEDs(dev, each...); });
        for (size_t channel = 0; channel < static_cast<size_t>(rz470::kChannelCount); ++channel) {
            emit SwitchAsked(channel, false);
        }
    });
}

void UnitSession::ReadGroupingAndTrigger() {
    SendWhenActive([this](uint16_t dev) {
        for (uint8_t group = 1; group <= GroupingAndTrigger::kGroupCount; ++group) {
            api_.GetGrouping(dev, group, tables_.groupMembers[group].data(), rz470::kTableWidth);
        }
        tables_.DeriveLedGroups();
        api_.GetTTLSequencing(dev, tables_.triggerSequence.data(), rz470::kTableWidth);
        api_.GetTTLTimeout(dev, tables_.ttlTimeout.data(), rz470::kTableWidth);
    });
}

bool UnitSession::ApplyUnitSetting(UnitSetting kind) {
    return SendWhenActive([this, kind](uint16_t dev) {
        switch (kind) {
            case UnitSetting::Grouping:
                SendGrouping(dev);
                break;
            case UnitSetting::TtlTimeouts:
                api_.SetTTLTimeout(dev, tables_.ttlTimeout.data(), rz470::kTableWidth);
                break;
            case UnitSetting::TriggerSequence:
                api_.SetTTLSequencing(dev, tables_.triggerSequence.data(), rz470::kTableWidth);
                break;
        }
    });
}

void UnitSession::SendGroupingUnasked() {
    if (!api_.isBound() || stopped_) {
        return;
    }
    SendGrouping(table_.unit().deviceIndex);
}

void UnitSession::SendGrouping(uint16_t dev) {
    tables_.RebuildGroupMembers();
    for (uint8_t group = 1; group <= GroupingAndTrigger::kGroupCount; ++group) {
        // The unit takes a group's list only after the group was emptied.
        uint8_t empty = 0;
        api_.SetGrouping(dev, group, &empty, 1);
        api_.SetGrouping(dev, group, tables_.groupMembers[group].data(), rz470::kTableWidth);
    }
}

void UnitSession::RestoreGroupingAndOfferSave(const std::function<bool()>& wantsSave) {
    if (!api_.isBound()) {
        return;
    }
    const uint16_t dev = table_.unit().deviceIndex;
    if (tables_.groupingMode != 0) {
        api_.SetGroupingEnabled(dev, tables_.groupingMode);
    }
    if (wantsSave()) {
        api_.SaveUserSettings(dev);
    }
}
