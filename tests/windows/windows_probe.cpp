// Calls every entry point the Windows halves define, so the link fails when one is declared but
// has no Windows definition; binds one library entry through the contract's Windows calling
// convention. Built and linked only, never run.
#include "CCrashHandler.h"
#include "LibraryLoaderPlatform.h"
#include "RZ470Api.h"
#include "SessionBus.h"

#include <string>

int main() {
    namespace platform = LibraryLoader::platform;
    CCrashHandler::InstallCrashHandlers();
    const std::vector<platform::NativePath> dirs = platform::systemSearchDirs();
    const std::string fileName = rz470::kLibraryFileName;
    platform::NativePath path = dirs.empty() ? platform::NativePath() : dirs.front() + L"\\";
    path.append(fileName.begin(), fileName.end());
    const std::vector<char> info = platform::fixedFileInfo(path);
    const platform::Opened opened = platform::open(path);
    const auto deviceActive =
        reinterpret_cast<RZ470_DeviceActive_t>(platform::symbol(opened.handle, "DeviceActive"));
    if (deviceActive == nullptr || deviceActive(0) == 0) {
        CCrashHandler::WriteCrashDump(CCrashHandler::CaptureExceptionPointers(nullptr, nullptr));
    }
    void (*serveOnSessionBus)(ScriptCommands&, QObject*) = &ServeOnSessionBus;
    return static_cast<int>(info.size()) + (serveOnSessionBus != nullptr ? 1 : 0);
}
