#pragma once

#include "LibraryLoaderPlatform.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The one place that knows how this platform finds, inspects and loads a shared library. The
// per-platform halves live in LibraryLoaderLinux.cpp and LibraryLoaderWindows.cpp.
namespace LibraryLoader {

using platform::kBadImage;
using platform::kInitialisationFailed;
using platform::kModuleNotFound;
using platform::kSymbolNotFound;

struct LoadOutcome {
    void* handle = nullptr;
    long errorCode = 0;  // set when handle is null
};

// The folders searched for the device library, in order: the executable's folder, then
// LD_LIBRARY_PATH, then the system library folders (on Windows: the system folder, then PATH).
// Never the current directory.
QStringList defaultSearchDirs();

// Absolute path of the first regular file named fileName in dirs, or empty.
QString locate(const QString& fileName, const QStringList& dirs);

// The library's fixed file information block as stored in the file (its length is the
// caller's to check), or an empty array when the file carries none or cannot be read.
QByteArray readFixedFileInfo(const QString& path);

// Loads the library by its full path.
LoadOutcome load(const QString& path);

// The address of an exported symbol, or null.
void* symbol(void* handle, const char* name);

}  // namespace LibraryLoader
