// What the device library hands back, answer by answer from the fuzz input: records with any
// field, names without a NUL, any wavelength, group rows with any LED number, any grouping mode,
// full TTL tables, any count of units, calls that fail. The session finds the unit, reads it in
// full, polls it and takes commands; the change detection and the maintenance texts read what
// it holds. What the panel sends back must stay within what the unit takes.
#include "ChangeDetection.h"
#include "FuzzCheck.h"
#include "IntensitySteps.h"
#include "MaintenanceTexts.h"
#include "ScreenRedraws.h"
#include "ScreenStates.h"
#include "UnitSession.h"
#include "Waits.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>

// The nine per-channel arguments of the library's calls.
#define NINE_PARAMS(T) T a1, T a2, T a3, T a4, T a5, T a6, T a7, T a8, T a9
#define NINE_ARGS a1, a2, a3, a4, a5, a6, a7, a8, a9

namespace {

FuzzedDataProvider* g_input = nullptr;

int Answer() {
    return g_input->ConsumeBool() ? 1 : 0;
}

// Writes as many of the object's bytes as the input still has.
template <typename T>
void Fill(T* target, size_t size = sizeof(T)) {
    const std::vector<uint8_t> bytes = g_input->ConsumeBytes<uint8_t>(size);
    if (!bytes.empty()) {
        std::memcpy(target, bytes.data(), bytes.size());
    }
}

void CheckDeviceIndex(RZ470Word dev) {
    FUZZ_CHECK(dev < UnitTable::kDeviceIndexLimit || dev == UnitSlot::kEmpty);
}

// Every entry point the session does not need answers yes or no and writes nothing.
template <typename F>
struct Generic;
template <typename R, typename... A>
struct Generic<R (*)(A...)> {
    static R Call(A...) { return static_cast<R>(Answer()); }
};

RZ470Word GetNumDevicesConnected() {
    return g_input->ConsumeIntegral<RZ470Word>();
}
int DeviceActive(RZ470Word dev) {
    // The contract: index 255 is never active.
    return dev == UnitSlot::kEmpty ? 0 : Answer();
}
int GetUnitSerialNumber(RZ470Word, RZ470Word* serial) {
    Fill(serial);
    return Answer();
}
int GetSerialIdentifier(RZ470Word, RZ470Byte* letter) {
    Fill(letter);
    return Answer();
}
int GetSoftwareVersion(RZ470Word, RZ470Word* a, RZ470Word* b, RZ470Word* c) {
    Fill(a);
    Fill(b);
    Fill(c);
    return Answer();
}

template <typename... Fields>
void FillNine(Fields*... fields) {
    (Fill(fields), ...);
}

int GetLEDName(RZ470Word, NINE_PARAMS(char*)) {
    // Twenty bytes each, a NUL only where the input put one.
    for (char* name : {NINE_ARGS}) {
        Fill(name, rz470::kNameBufferSize);
    }
    return Answer();
}
int GetGroupingEnabled(RZ470Word, RZ470Byte* mode) {
    Fill(mode);
    return Answer();
}
int GetGrouping(RZ470Word dev, RZ470Byte group, RZ470Byte* members, RZ470Byte count) {
    CheckDeviceIndex(dev);
    FUZZ_CHECK(group >= 1 && group <= 6 && count == rz470::kTableWidth);
    Fill(members, count);
    return Answer();
}
int GetTTLSequencing(RZ470Word, RZ470Byte* steps, RZ470Byte count) {
    FUZZ_CHECK(count == rz470::kTableWidth);
    Fill(steps, count);
    return Answer();
}
int GetTTLTimeout(RZ470Word, RZ470Word* minutes, RZ470Byte count) {
    FUZZ_CHECK(count == rz470::kTableWidth);
    Fill(minutes, count * sizeof(RZ470Word));
    return Answer();
}

// What the panel sends must be something the unit takes.
template <typename... Levels>
void CheckLevels(Levels... levels) {
    for (const RZ470Word level : {levels...}) {
        FUZZ_CHECK(level <= rz470::kMaxIntensity);
    }
}
template <typename... Flags>
void CheckFlags(Flags... flags) {
    for (const RZ470Byte flag : {flags...}) {
        FUZZ_CHECK(flag <= 1);
    }
}
int SetGrouping(RZ470Word dev, RZ470Byte group, const RZ470Byte* members, RZ470Byte count) {
    CheckDeviceIndex(dev);
    FUZZ_CHECK(group >= 1 && group <= 6);
    FUZZ_CHECK(count == 1 || count == rz470::kTableWidth);
    for (int i = 0; i < count; ++i) {
        FUZZ_CHECK(members[i] <= rz470::kChannelCount);
    }
    return Answer();
}
int SetTTLSequencing(RZ470Word dev, const RZ470Byte* steps, RZ470Byte count) {
    CheckDeviceIndex(dev);
    FUZZ_CHECK(count == rz470::kTableWidth);
    volatile RZ470Byte last = steps[count - 1];  // the whole table is readable
    (void)last;
    return Answer();
}
int SetTTLTimeout(RZ470Word dev, const RZ470Word* minutes, RZ470Byte count) {
    CheckDeviceIndex(dev);
    FUZZ_CHECK(count == rz470::kTableWidth);
    volatile RZ470Word last = minutes[count - 1];
    (void)last;
    return Answer();
}

int GetUnitStatus(RZ470Word dev, NINE_PARAMS(rz470::ChannelRecord*), RZ470Word* unitStatus) {
    CheckDeviceIndex(dev);
    FillNine(NINE_ARGS);
    Fill(unitStatus);
    return Answer();
}
int GetWords(RZ470Word dev, NINE_PARAMS(RZ470Word*)) {
    CheckDeviceIndex(dev);
    FillNine(NINE_ARGS);
    return Answer();
}
int SetIntensityLevel(RZ470Word dev, NINE_PARAMS(RZ470Word)) {
    CheckDeviceIndex(dev);
    CheckLevels(NINE_ARGS);
    return Answer();
}
int SwitchLeds(RZ470Word dev, NINE_PARAMS(RZ470Byte)) {
    CheckDeviceIndex(dev);
    CheckFlags(NINE_ARGS);
    return Answer();
}

void PointAtFakes(DeviceApi& api) {
#define RZ470_GENERIC_FAKE(name, ret, params) api.name = &Generic<RZ470_##name##_t>::Call;
    RZ470_ENTRY_POINTS(RZ470_GENERIC_FAKE)
#undef RZ470_GENERIC_FAKE
    api.GetNumDevicesConnected = GetNumDevicesConnected;
    api.DeviceActive = DeviceActive;
    api.GetUnitSerialNumber = GetUnitSerialNumber;
    api.GetSerialIdentifier = GetSerialIdentifier;
    api.GetSoftwareVersion = GetSoftwareVersion;
    api.GetUnitStatus = GetUnitStatus;
    api.GetLEDHours = GetWords;
    api.GetLEDWaveLength = GetWords;
    api.GetLEDType = GetWords;
    api.GetMinIntPercentage = GetWords;
    api.GetIntensityLevel = GetWords;
    api.GetLEDName = GetLEDName;
    api.GetGroupingEnabled = GetGroupingEnabled;
    api.GetGrouping = GetGrouping;
    api.GetTTLSequencing = GetTTLSequencing;
    api.GetTTLTimeout = GetTTLTimeout;
    api.SetIntensityLevel = SetIntensityLevel;
    api.TurnONLEDs = SwitchLeds;
    api.TurnOFFLEDs = SwitchLeds;
    api.SetGrouping = SetGrouping;
    api.SetTTLSequencing = SetTTLSequencing;
    api.SetTTLTimeout = SetTTLTimeout;
}

class NoWaits : public Waits {
public:
    void wait(int) override {}
};

class CheckedRedraws : public ScreenRedraws {
public:
    void DrawSwitch(int panel, bool) override { FUZZ_CHECK(panel >= 0 && panel < rz470::kChannelCount); }
    void ShowAndSaveIntensity(int panel, bool) override {
        FUZZ_CHECK(panel >= 0 && panel < rz470::kChannelCount);
    }
    void DrawChannelName(int panel) override { FUZZ_CHECK(panel >= 0 && panel < rz470::kChannelCount); }
    void DrawStatusIcons() override {}
    void UpdateAlarmTiles() override {}
    void ShowTablesChanged() override {}
};

void CheckTables(const GroupingAndTrigger& tables) {
    for (const uint8_t group : tables.ledGroup) {
        FUZZ_CHECK(group <= GroupingAndTrigger::kGroupCount);
    }
}

void CheckUnitTexts(const UnitSlot& unit) {
    FUZZ_CHECK(!maintenancetexts::VersionText(unit.firmwareVersion, QStringLiteral("1.1.1.0")).isEmpty());
    FUZZ_CHECK(!maintenancetexts::SerialText(unit).isEmpty());
    maintenancetexts::ErrorLines(unit);
    for (const rz470::ChannelRecord& record : unit.channels) {
        const uint16_t minimum = intensitysteps::MinimumLevel(record.minIntensityPercent);
        FUZZ_CHECK(minimum <= intensitysteps::kFullScale);
        FUZZ_CHECK(intensitysteps::StepUp(record.intensity, minimum) >= record.intensity ||
                   record.intensity > intensitysteps::kFullScale);
    }
}

constexpr int kScreens[] = {screens::kMain,        screens::kTriggerFirst,  screens::kAlarms,
                            screens::kMaintenance, screens::kGroupingFirst, screens::kGroupingLast};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    g_input = &input;

    // What the panel stored, by wavelength: any stored name, a level or none.
    const QString storedName = QString::fromLatin1(input.ConsumeRandomLengthString(60).c_str());
    const auto storedLevel = input.ConsumeIntegralInRange<int>(-1, 1000);
    NoWaits waits;
    UnitSession session(waits, StoredChannelValues{[&](uint16_t wavelength) {
                                                       return wavelength % 2 ? storedName : QString();
                                                   },
                                                   [&](uint16_t wavelength) -> std::optional<uint16_t> {
                                                       if (storedLevel < 0 || wavelength % 3 == 0) {
                                                           return std::nullopt;
                                                       }
                                                       return static_cast<uint16_t>(storedLevel);
                                                   }});
    PointAtFakes(session.api());
    QObject::connect(&session, &UnitSession::UnitNotFound, [&session] { session.Stop(); });
    QObject::connect(&session, &UnitSession::GroupingNotCleared, [&session] { session.Stop(); });

    CheckedRedraws redraws;
    for (int step = 0; step < 400 && input.remaining_bytes() > 0 && !session.isStopped(); ++step) {
        UnitSlot& unit = session.unit();
        GroupingAndTrigger& tables = session.tables();
        switch (input.ConsumeIntegralInRange<int>(0, 8)) {
            case 0:
                session.Tick();
                break;
            case 1: {
                // A slider or an arrow sets one level the way the panel bounds it.
                auto& record =
                    unit.channels[input.ConsumeIntegralInRange<size_t>(0, rz470::kChannelCount - 1)];
                record.intensity = input.ConsumeIntegralInRange<uint16_t>(0, rz470::kMaxIntensity);
                session.SendIntensities();
                break;
            }
            case 2:
                session.SwitchChannel(input.ConsumeIntegralInRange<size_t>(0, 12), input.ConsumeBool());
                break;
            case 3:
                session.SwitchAllOff();
                break;
            case 4:
                session.ReadGroupingAndTrigger();
                CheckTables(tables);
                break;
            case 5: {
                // The grouping screen sets a channel's group within what the mode allows.
                const auto channel = input.ConsumeIntegralInRange<size_t>(0, rz470::kChannelCount - 1);
                tables.ledGroup[channel] = input.ConsumeIntegralInRange<uint8_t>(0, tables.MaxGroup());
                const auto kind = static_cast<UnitSetting>(input.ConsumeIntegralInRange<int>(0, 2));
                session.ApplyUnitSetting(kind);
                break;
            }
            case 6:
                session.SendGroupingUnasked();
                break;
            case 7:
                DetectChanges(unit, input.PickValueInArray(kScreens), redraws);
                break;
            case 8:
                CheckUnitTexts(unit);
                tables.ExceedsMode();
                break;
        }
    }
    session.RestoreGroupingAndOfferSave([&input] { return input.ConsumeBool(); });
    g_input = nullptr;
    return 0;
}
