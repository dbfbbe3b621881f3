#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct DeviceApi;

namespace binding {
// Texts of the binding's failures, all shown under kFailureTitle.
inline const QString kFailureTitle = QStringLiteral("RZ470.DLL Module load failure");
inline const QString kNoVersionInfo = QStringLiteral("Unable to obtain DLL version information!");
inline const QString kModuleNotFound = QStringLiteral("DLL Module not Found!");
inline const char* const kModuleNotLoadedFormat = "DLL Module not Loaded! Error Code: %ld";
inline const QString kIncompatibleVersion = QStringLiteral("Incompatible DLL Version!");
inline const QString kMissingFunctions = QStringLiteral("Unable to load all DLL functions!");
}  // namespace binding

// Finds the device library in searchDirs, checks its version note, loads it and binds all 84
// entry points into api. On failure returns the one message to show (under kFailureTitle); the
// entry points are then all null, so a half-bound library is never called. A loaded library is
// never unloaded.
std::optional<QString> BindDeviceLibrary(DeviceApi& api, const QStringList& searchDirs);
