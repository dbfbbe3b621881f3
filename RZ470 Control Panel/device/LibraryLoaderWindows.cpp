#include "LibraryLoaderPlatform.h"

#include <windows.h>

namespace LibraryLoader::platform {

// Only the system folder, where a maker's installer may have put the library and only
// administrators write: a library in the current folder or on PATH is anybody's.
std::vector<NativePath> systemSearchDirs() {
    std::vector<NativePath> dirs;
    wchar_t systemDir[MAX_PATH];
    const UINT length = GetSystemDirectoryW(systemDir, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        dirs.emplace_back(systemDir, length);
    }
    return dirs;
}

std::vector<char> fixedFileInfo(const NativePath& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) {
        return {};
    }
    std::vector<char> buffer(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, buffer.data())) {
        return {};
    }
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(buffer.data(), L"\\", &block, &length) || block == nullptr) {
        return {};
    }
    const char* first = static_cast<const char*>(block);
    return std::vector<char>(first, first + length);
}

Opened open(const NativePath& path) {
    // What the library itself imports comes from its own folder and the system folder, never
    // from the current folder or PATH either.
    HMODULE module =
        LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) {
        return {nullptr, static_cast<long>(GetLastError())};
    }
    return {module, 0};
}

void* symbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

}  // namespace LibraryLoader::platform
