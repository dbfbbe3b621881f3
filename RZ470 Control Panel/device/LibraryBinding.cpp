#include "LibraryBinding.h"

#include "DeviceApi.h"
#include "LibraryLoader.h"

#include <QtEndian>

#include <cstdio>

namespace {

std::optional<QString> fail(DeviceApi& api, const QString& text) {
    // Pointers bound before the failure must not make the library look usable.
    api.clearEntryPoints();
    return text;
}

QString moduleNotLoadedText(long errorCode) {
    char text[100];
    std::snprintf(text, sizeof text, binding::kModuleNotLoadedFormat, errorCode);
    return QString::fromLocal8Bit(text);
}

// High word of the most significant file-version double word.
unsigned majorVersionOf(const QByteArray& fixedInfo) {
    const auto* bytes = reinterpret_cast<const uchar*>(fixedInfo.constData());
    const quint32 fileVersionMS =
        qFromLittleEndian<quint32>(bytes + offsetof(rz470::FixedFileInfo, fileVersionMS));
    return fileVersionMS >> 16;
}

}  // namespace

std::optional<QString> BindDeviceLibrary(DeviceApi& api, const QStringList& searchDirs) {
    const QString path = LibraryLoader::locate(QString::fromLatin1(rz470::kLibraryFileName), searchDirs);
    const QByteArray fixedInfo = path.isEmpty() ? QByteArray() : LibraryLoader::readFixedFileInfo(path);
    if (fixedInfo.size() != static_cast<int>(sizeof(rz470::FixedFileInfo))) {
        return fail(api, binding::kNoVersionInfo);
    }

    const LibraryLoader::LoadOutcome loaded = LibraryLoader::load(path);
    if (loaded.handle == nullptr) {
        return fail(api, loaded.errorCode == LibraryLoader::kModuleNotFound
                             ? binding::kModuleNotFound
                             : moduleNotLoadedText(loaded.errorCode));
    }
    api.module = loaded.handle;

    if (majorVersionOf(fixedInfo) < 1) {
        return fail(api, binding::kIncompatibleVersion);
    }

#define RZ470_BIND_ENTRY(name, ret, params) \
    api.name = reinterpret_cast<RZ470_##name##_t>(LibraryLoader::symbol(api.module, #name));
    RZ470_ENTRY_POINTS(RZ470_BIND_ENTRY)
#undef RZ470_BIND_ENTRY

    bool allBound = true;
#define RZ470_CHECK_ENTRY(name, ret, params) allBound = allBound && api.name != nullptr;
    RZ470_ENTRY_POINTS(RZ470_CHECK_ENTRY)
#undef RZ470_CHECK_ENTRY
    if (!allBound) {
        return fail(api, binding::kMissingFunctions);
    }
    return std::nullopt;
}
