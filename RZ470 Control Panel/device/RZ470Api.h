// Contract of the RZ470 device control library, shared by the panel's binding and the
// simulated unit. Every entry point takes the unit's 16-bit device index first (except the
// two bus-wide calls) and reports success with a nonzero result. The library is plain C with
// the caller removing stack arguments (cdecl on Windows).
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define RZ470_CALL __cdecl
#else
#define RZ470_CALL
#endif

namespace rz470 {

constexpr int kChannelCount = 9;     // channels the unit drives
constexpr int kRecordsPerSlot = 10;  // records kept per unit; the tenth is never used
constexpr int kNameBufferSize = 20;  // GetLEDName writes NUL-ended names into 20-byte buffers
constexpr int kTableWidth = 9;       // entries of the grouping and TTL tables

// Channel status bits; the low byte carries all of them.
namespace ChannelStatus {
constexpr uint16_t LedOn = 0x01;
constexpr uint16_t NvmError = 0x02;
constexpr uint16_t UnderTemperature = 0x04;
constexpr uint16_t TypeMismatch = 0x08;
constexpr uint16_t CurrentAlarm = 0x10;
constexpr uint16_t Fitted = 0x20;
constexpr uint16_t Present = 0x40;
constexpr uint16_t OverTemperature = 0x80;
// A channel has an alarm when any of these is set.
constexpr uint16_t AlarmMask = NvmError | UnderTemperature | TypeMismatch | CurrentAlarm | OverTemperature;
}  // namespace ChannelStatus

// Unit status bits; others are not interpreted.
namespace UnitStatus {
constexpr uint16_t AlarmActive = 0x0001;
constexpr uint16_t LightGuideInserted = 0x0002;
constexpr uint16_t LedOn = 0x0008;
constexpr uint16_t KnobLocked = 0x0040;
constexpr uint16_t NvmFailure = 0x0400;
constexpr uint16_t PerformanceAlarm = 0x1000;
}  // namespace UnitStatus

// LED types reported by GetLEDType.
namespace LedType {
constexpr uint16_t StandardPower = 0;
constexpr uint16_t HighPower = 1;
constexpr uint16_t NotPresent = 4;
}  // namespace LedType

constexpr uint16_t kMaxIntensity = 1000;  // tenths of a percent

#pragma pack(push, 1)
// One channel as the library writes it through GetUnitStatus: 148 bytes, little-endian, no gaps.
// The single-field calls receive the address of their field.
struct ChannelRecord {
    uint16_t status;
    uint16_t hours;
    uint16_t reserved4;
    uint16_t onValue;
    uint16_t reserved8;
    uint16_t reserved10;
    uint8_t reserved12;
    uint8_t triggered;
    uint16_t intensity;
    uint16_t wavelength;
    uint16_t fwhm;
    uint16_t ledType;
    uint16_t temperature;
    uint16_t cutoffTemperature;
    uint16_t ledSerial;
    uint16_t reserved28[3];
    uint16_t minIntensityPercent;
    uint16_t dichroicException1;
    uint16_t dichroicException2;
    uint16_t rangeLow;
    uint16_t rangeHigh;
    char name[50];
    char mfgDate[50];
    uint32_t locked;  // owned by the panel, never sent to the unit
};
#pragma pack(pop)

static_assert(sizeof(ChannelRecord) == 148, "ChannelRecord is shared with the library");
static_assert(offsetof(ChannelRecord, status) == 0, "layout");
static_assert(offsetof(ChannelRecord, hours) == 2, "layout");
static_assert(offsetof(ChannelRecord, reserved4) == 4, "layout");
static_assert(offsetof(ChannelRecord, onValue) == 6, "layout");
static_assert(offsetof(ChannelRecord, reserved8) == 8, "layout");
static_assert(offsetof(ChannelRecord, reserved10) == 10, "layout");
static_assert(offsetof(ChannelRecord, reserved12) == 12, "layout");
static_assert(offsetof(ChannelRecord, triggered) == 13, "layout");
static_assert(offsetof(ChannelRecord, intensity) == 14, "layout");
static_assert(offsetof(ChannelRecord, wavelength) == 16, "layout");
static_assert(offsetof(ChannelRecord, fwhm) == 18, "layout");
static_assert(offsetof(ChannelRecord, ledType) == 20, "layout");
static_assert(offsetof(ChannelRecord, temperature) == 22, "layout");
static_assert(offsetof(ChannelRecord, cutoffTemperature) == 24, "layout");
static_assert(offsetof(ChannelRecord, ledSerial) == 26, "layout");
static_assert(offsetof(ChannelRecord, reserved28) == 28, "layout");
static_assert(offsetof(ChannelRecord, minIntensityPercent) == 34, "layout");
static_assert(offsetof(ChannelRecord, dichroicException1) == 36, "layout");
static_assert(offsetof(ChannelRecord, dichroicException2) == 38, "layout");
static_assert(offsetof(ChannelRecord, rangeLow) == 40, "layout");
static_assert(offsetof(ChannelRecord, rangeHigh) == 42, "layout");
static_assert(offsetof(ChannelRecord, name) == 44, "layout");
static_assert(offsetof(ChannelRecord, mfgDate) == 94, "layout");
static_assert(offsetof(ChannelRecord, locked) == 144, "layout");

}  // namespace rz470

// Argument lists repeated once per channel 1..9 ("9x" in the contract).
#define RZ470_X9(T) T, T, T, T, T, T, T, T, T

using RZ470Word = uint16_t;
using RZ470Byte = uint8_t;

// Every entry point in binding order: X(name, return type, parameter list).
// This one table drives the typedefs, the DeviceApi pointers, the binding and the simulator's
// export check.
#define RZ470_ENTRY_POINTS(X)                                                                         \
    X(GetNumDevicesConnected, RZ470Word, (void))                                                      \
    X(UpdateData, int, (void))                                                                        \
    X(DataReady, int, (RZ470Word dev))                                                                \
    X(DeviceActive, int, (RZ470Word dev))                                                             \
    X(GetDeviceName, int, (RZ470Word dev, char* name20))                                              \
    X(GetDeviceDescription, int, (RZ470Word dev, char* text50))                                       \
    X(SetDeviceName, int, (RZ470Word dev, const char* name))                                          \
    X(GetInformation, int, (RZ470Word dev, char* text50))                                             \
    X(SetProgramMode, int, (RZ470Word dev, RZ470Byte mode))                                           \
    X(GetUnitStatus, int, (RZ470Word dev, RZ470_X9(rz470::ChannelRecord*), RZ470Word * unitStatus))   \
    X(GetSoftwareVersion, int, (RZ470Word dev, RZ470Word*, RZ470Word*, RZ470Word*))                   \
    X(SetUnitSerialNumber, int, (RZ470Word dev, RZ470Word serial))                                    \
    X(GetUnitSerialNumber, int, (RZ470Word dev, RZ470Word * serial))                                  \
    X(GetSerialIdentifier, int, (RZ470Word dev, RZ470Byte * letter))                                  \
    X(UpdateEEProm, int, (RZ470Word dev))                                                             \
    X(ReadEEProm, int, (RZ470Word dev))                                                               \
    X(EnablePrivilidge, int, (RZ470Word dev, RZ470Word key))                                          \
    X(GetPrivilidge, int, (RZ470Word dev, RZ470Byte * level))                                         \
    X(Connect, int, (RZ470Word dev))                                                                  \
    X(TurnONLEDs, int, (RZ470Word dev, RZ470_X9(RZ470Byte)))                                          \
    X(TurnOFFLEDs, int, (RZ470Word dev, RZ470_X9(RZ470Byte)))                                         \
    X(GetLEDHours, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                        \
    X(SetLEDHours, int, (RZ470Word dev, RZ470_X9(RZ470Word)))                                         \
    X(GetIntensityLevel, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                  \
    X(SetIntensityLevel, int, (RZ470Word dev, RZ470_X9(RZ470Word)))                                   \
    X(SetDelayTime, int, (RZ470Word dev, RZ470_X9(RZ470Word)))                                        \
    X(SetOnTime, int, (RZ470Word dev, RZ470_X9(RZ470Word)))                                           \
    X(SetOffTime, int, (RZ470Word dev, RZ470_X9(RZ470Word)))                                          \
    X(SetTriggerTime, int, (RZ470Word dev, RZ470_X9(RZ470Word)))                                      \
    X(GetDelayTime, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                       \
    X(GetOnTime, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                          \
    X(GetOffTime, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                         \
    X(GetTriggerTime, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                     \
    X(SetPGStatus, int, (RZ470Word dev, RZ470Byte status))                                            \
    X(GetPGStatus, int, (RZ470Word dev, RZ470Byte * status))                                          \
    X(SetLCDScreen, int, (RZ470Word dev, RZ470Byte screen))                                           \
    X(GetLCDScreen, int, (RZ470Word dev, RZ470Byte * screen))                                         \
    X(SetLCDContrast, int, (RZ470Word dev, RZ470Byte contrast))                                       \
    X(GetLCDContrast, int, (RZ470Word dev, RZ470Byte * contrast))                                     \
    X(SetLCDVolume, int, (RZ470Word dev, RZ470Byte volume))                                           \
    X(GetLCDVolume, int, (RZ470Word dev, RZ470Byte * volume))                                         \
    X(GetLEDTemperatures, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                 \
    X(GetPGUnits, int, (RZ470Word dev, RZ470Byte * units))                                            \
    X(SetPGUnits, int, (RZ470Word dev, RZ470Byte units))                                              \
    X(SetPGMode, int, (RZ470Word dev, RZ470Byte mode))                                                \
    X(GetPGMode, int, (RZ470Word dev, RZ470Byte * mode))                                              \
    X(SetScreenSaverTimeOut, int, (RZ470Word dev, RZ470Word minutes))                                 \
    X(GetScreenSaverTimeOut, int, (RZ470Word dev, RZ470Word * minutes))                               \
    X(SetSingleShot, int, (RZ470Word dev, RZ470Byte enabled))                                         \
    X(GetSingleShot, int, (RZ470Word dev, RZ470Byte * enabled))                                       \
    X(GetNVMErrorCount, int, (RZ470Word dev, RZ470Word * count))                                      \
    X(GetLEDName, int, (RZ470Word dev, RZ470_X9(char*)))                                              \
    X(GetLEDWaveLength, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                   \
    X(GetLEDFWHM, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                         \
    X(GetLEDType, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                         \
    X(GetLEDMaxTemperature, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                               \
    X(GetLEDSN, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                           \
    X(GetLEDMfgDate, int, (RZ470Word dev, RZ470_X9(char*)))                                           \
    X(GetDichroicEntry, int, (RZ470Word dev, RZ470Byte entry, RZ470Word * value))                     \
    X(SetDichroicEntry, int, (RZ470Word dev, RZ470Byte entry, RZ470Word value))                       \
    X(GetDIO, int, (RZ470Word dev, RZ470Byte * inputs))                                               \
    X(GetMinCurrent, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                      \
    X(SetMinCurrent, int, (RZ470Word dev, RZ470_X9(RZ470Word)))                                       \
    X(GetMinIntPercentage, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                \
    X(SetMinIntPercentage, int, (RZ470Word dev, RZ470_X9(RZ470Word)))                                 \
    X(GetMinThreshold, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                                    \
    X(SetMinThreshold, int, (RZ470Word dev, RZ470_X9(RZ470Word)))                                     \
    X(GetDichroic1Exception, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                              \
    X(SetDichroic1Exception, int, (RZ470Word dev, RZ470_X9(RZ470Word)))                               \
    X(GetDichroic2Exception, int, (RZ470Word dev, RZ470_X9(RZ470Word*)))                              \
    X(SetDichroic2Exception, int, (RZ470Word dev, RZ470_X9(RZ470Word)))                               \
    X(GetWaveLengthRange, int, (RZ470Word dev, RZ470Byte channel, RZ470Word * low, RZ470Word * high)) \
    X(SetWaveLengthRange, int, (RZ470Word dev, RZ470Byte channel, RZ470Word low, RZ470Word high))     \
    X(SaveUserSettings, int, (RZ470Word dev))                                                         \
    X(GetLiveCellMode, int, (RZ470Word dev, RZ470Byte * mode))                                        \
    X(SetLiveCellMode, int, (RZ470Word dev, RZ470Byte mode))                                          \
    X(GetTTLSequencing, int, (RZ470Word dev, RZ470Byte * steps, RZ470Byte count))                     \
    X(SetTTLSequencing, int, (RZ470Word dev, const RZ470Byte* steps, RZ470Byte count))                \
    X(GetGrouping, int, (RZ470Word dev, RZ470Byte group, RZ470Byte * members, RZ470Byte count))       \
    X(SetGrouping, int, (RZ470Word dev, RZ470Byte group, const RZ470Byte* members, RZ470Byte count))  \
    X(GetGroupingEnabled, int, (RZ470Word dev, RZ470Byte * mode))                                     \
    X(SetGroupingEnabled, int, (RZ470Word dev, RZ470Byte mode))                                       \
    X(GetTTLTimeout, int, (RZ470Word dev, RZ470Word * minutes, RZ470Byte count))                      \
    X(SetTTLTimeout, int, (RZ470Word dev, const RZ470Word* minutes, RZ470Byte count))

// One pointer typedef per entry point: RZ470_<name>_t.
#define RZ470_DECLARE_TYPEDEF(name, ret, params) typedef ret(RZ470_CALL* RZ470_##name##_t) params;
RZ470_ENTRY_POINTS(RZ470_DECLARE_TYPEDEF)
#undef RZ470_DECLARE_TYPEDEF

namespace rz470 {

#define RZ470_COUNT_ONE(name, ret, params) +1
constexpr int kEntryPointCount = 0 RZ470_ENTRY_POINTS(RZ470_COUNT_ONE);
#undef RZ470_COUNT_ONE
static_assert(kEntryPointCount == 84, "the library exports 84 entry points");

// Names in binding order.
#define RZ470_NAME_STRING(name, ret, params) #name,
constexpr const char* kEntryPointNames[kEntryPointCount] = {RZ470_ENTRY_POINTS(RZ470_NAME_STRING)};
#undef RZ470_NAME_STRING

// The library's file name on this platform.
#if defined(_WIN32)
constexpr const char* kLibraryFileName = "RZ470.dll";
#else
constexpr const char* kLibraryFileName = "libRZ470.so";
#endif

// Fixed file information carried in the library's version note (same 52 bytes as a Windows
// VS_FIXEDFILEINFO block), so the version can be checked before the file is loaded.
struct FixedFileInfo {
    uint32_t signature;  // kFixedFileInfoSignature
    uint32_t structVersion;
    uint32_t fileVersionMS;  // major << 16 | minor
    uint32_t fileVersionLS;  // build << 16 | revision
    uint32_t productVersionMS;
    uint32_t productVersionLS;
    uint32_t fileFlagsMask;
    uint32_t fileFlags;
    uint32_t fileOS;
    uint32_t fileType;
    uint32_t fileSubtype;
    uint32_t fileDateMS;
    uint32_t fileDateLS;
};
static_assert(sizeof(FixedFileInfo) == 52, "fixed file information is 52 bytes");
constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

// ELF note that carries FixedFileInfo: owner name and type.
constexpr const char* kVersionNoteOwner = "RZ470";
constexpr uint32_t kVersionNoteType = 1;
constexpr const char* kVersionNoteSection = ".note.rz470.version";

}  // namespace rz470
