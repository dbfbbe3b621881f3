// Calls every entry point the Windows halves define, so the link fails when one is declared but
// has no Windows definition. Built and linked only, never run.
#include "CCrashHandler.h"
#include "LibraryLoaderPlatform.h"

int main() {
    namespace platform = LibraryLoader::platform;
    CCrashHandler::InstallCrashHandlers();
    const std::vector<platform::NativePath> dirs = platform::systemSearchDirs();
    const platform::NativePath path = dirs.empty() ? L"RZ470.dll" : dirs.front() + L"\\RZ470.dll";
    const std::vector<char> info = platform::fixedFileInfo(path);
    const platform::Opened opened = platform::open(path);
    void* entry = platform::symbol(opened.handle, "DeviceActive");
    if (entry == nullptr) {
        CCrashHandler::WriteCrashDump(CCrashHandler::CaptureExceptionPointers(nullptr, nullptr));
    }
    return static_cast<int>(info.size());
}
