#include "LibraryLoaderPlatform.h"

#include <windows.h>

namespace LibraryLoader::platform {

namespace {

// An environment variable's value, or empty when it is not set.
std::wstring environmentValue(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

}  // namespace

std::vector<NativePath> systemSearchDirs() {
    std::vector<NativePath> dirs;
    wchar_t systemDir[MAX_PATH];
    const UINT length = GetSystemDirectoryW(systemDir, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        dirs.emplace_back(systemDir, length);
    }
    const std::wstring entries = environmentValue(L"PATH");
    size_t start = 0;
    while (start <= entries.size()) {
        size_t end = entries.find(L';', start);
        if (end == std::wstring::npos) {
            end = entries.size();
        }
        if (end > start) {
            dirs.push_back(entries.substr(start, end - start));
        }
        start = end + 1;
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
    HMODULE module = LoadLibraryW(path.c_str());
    if (module == nullptr) {
        return {nullptr, static_cast<long>(GetLastError())};
    }
    return {module, 0};
}

void* symbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

}  // namespace LibraryLoader::platform
