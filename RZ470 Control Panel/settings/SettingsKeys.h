#pragma once

#include <QString>

// Every stored setting, declared once: sections, value-name patterns and defaults.
namespace settings {

inline const QString kCompanyKey = QStringLiteral("Varnholt Technologies Corp");

// Stored strings are bounded: a value edited outside the panel cannot blow up memory or a screen.
constexpr int kMaxStoredStringLength = 1024;

// Channel names, keyed by wavelength: "Name405". At most 8 characters are written.
inline const QString kNamesSection = QStringLiteral("Names");
inline const char* const kNameValue = "Name%d";

// Channel intensities 0..1000, keyed by wavelength: "Intensity405".
inline const QString kIntensitiesSection = QStringLiteral("Intensities");
inline const char* const kIntensityValue = "Intensity%d";
constexpr int kIntensityAbsent = 65535;

// Written for other programs, never read back by the panel.
inline const QString kTriggerSection = QStringLiteral("TriggerData");
inline const char* const kDelayValue = "Delay%d";  // channel index 0..8: trigger-sequence step
inline const char* const kOnValue = "On%d";        // wavelength: the channel's onValue

// Favourite groupings, slots 1..10; an empty name marks a free slot. Modes are 0..2, groups 0..6.
inline const QString kFavouritesSection = QStringLiteral("Grp Combinations");
inline const char* const kFavouriteNameValue = "Name%d";
inline const char* const kFavouriteGroupsValue = "Value%d";
inline const char* const kFavouriteModeValue = "Mode%d";
constexpr int kFavouriteSlots = 10;

// Demo loop: three comma-separated lists.
inline const QString kDemoLoopSection = QStringLiteral("Demo Loop");
inline const QString kDemoSelectionValue = QStringLiteral("Selection");
inline const QString kDemoOrderValue = QStringLiteral("Order");
inline const QString kDemoTimesValue = QStringLiteral("On and Off Time");

// "Allow scripting" in the window menu: 1 lets scripts act on the unit, 0 lets them only read.
inline const QString kScriptingSection = QStringLiteral("Scripting");
inline const QString kAllowScriptingValue = QStringLiteral("Allow Scripting");
constexpr int kAllowScriptingDefault = 1;

// Value name with its decimal number: valueName(kNameValue, 405) == "Name405".
QString valueName(const char* pattern, int number);

}  // namespace settings
