#include "SimFiles.h"

#include <windows.h>

namespace simfiles {

namespace {

// 100-nanosecond ticks from 1601 to 1970.
constexpr int64_t kTicksTo1970 = 116444736000000000LL;

std::wstring wide(const std::string& text) {
    if (text.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

std::string narrow(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.pop_back();  // the terminating NUL
    return result;
}

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message.empty() ? "system error " + std::to_string(code) : message;
}

FileTime fromTicks(const FILETIME& time) {
    const int64_t ticks =
        static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) - kTicksTo1970;
    return FileTime{ticks / 10000000, (ticks % 10000000) * 100};
}

// Closes a handle when the scope ends.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid())
            CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

}  // namespace

bool readSmallFile(const std::string& path, size_t maxSize, std::string& text, std::string& error) {
    error.clear();
    // A link is opened as itself, and then refused as no regular file.
    Handle file(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.valid()) {
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND)
            error = systemMessage(code);
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    bool ok = GetFileType(file.get()) == FILE_TYPE_DISK && GetFileInformationByHandle(file.get(), &info) &&
              (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
    if (!ok)
        error = "not a regular file";
    text.clear();
    char buffer[4096];
    while (ok) {
        DWORD n = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr)) {
            error = systemMessage(GetLastError());
            ok = false;
        } else if (n == 0) {
            break;
        } else if (text.size() + n > maxSize) {
            error = "larger than " + std::to_string(maxSize) + " bytes";
            ok = false;
        } else {
            text.append(buffer, n);
        }
    }
    return ok;
}

bool writeFileAtomically(const std::string& path, std::string_view text, std::string& error) {
    const std::wstring target = wide(path);
    const std::wstring temporary = wide(path + ".part");
    Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.valid()) {
        error = systemMessage(GetLastError());
        return false;
    }
    bool ok = true;
    while (ok && !text.empty()) {
        DWORD n = 0;
        const DWORD chunk = text.size() > 65536 ? 65536 : static_cast<DWORD>(text.size());
        ok = WriteFile(file.get(), text.data(), chunk, &n, nullptr) && n > 0;
        if (ok)
            text.remove_prefix(n);
    }
    if (!ok)
        error = systemMessage(GetLastError());
    if (!file.close() && ok) {
        error = systemMessage(GetLastError());
        ok = false;
    }
    if (ok && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        error = systemMessage(GetLastError());
        ok = false;
    }
    if (!ok)
        DeleteFileW(temporary.c_str());
    return ok;
}

bool removeFile(const std::string& path) {
    return DeleteFileW(wide(path).c_str()) != 0;
}

bool makeFolder(const std::string& path) {
    CreateDirectoryW(wide(path).c_str(), nullptr);  // the profile's own rights: the user's alone
    return isFolder(path);
}

bool isFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool lastChange(const std::string& path, FileTime& time, bool followLink) {
    Handle file(CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr));
    FILETIME written{};
    if (!file.valid() || !GetFileTime(file.get(), nullptr, nullptr, &written))
        return false;
    time = fromTicks(written);
    return true;
}

bool listFolder(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(wide(path + "/*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND && isFolder(path);
    do {
        const std::string name = narrow(entry.cFileName);
        if (!name.empty() && name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return true;
}

std::string environment(const char* name, size_t maxLength) {
    const std::wstring key = wide(name);
    const DWORD size = GetEnvironmentVariableW(key.c_str(), nullptr, 0);
    if (size == 0 || size > maxLength + 1)
        return {};
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(key.c_str(), value.data(), size);
    if (length == 0 || length >= size)
        return {};
    const std::string text = narrow(value.c_str());
    return text.size() <= maxLength ? text : std::string();
}

FileTime now() {
    FILETIME time{};
    GetSystemTimePreciseAsFileTime(&time);
    return fromTicks(time);
}

unsigned long processId() {
    return GetCurrentProcessId();
}

}  // namespace simfiles
