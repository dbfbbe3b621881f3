#include "SimFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace simfiles {

bool readSmallFile(const std::string& path, size_t maxSize, std::string& text, std::string& error) {
    error.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT)
            error = std::strerror(errno);
        return false;
    }
    struct stat info {};
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (!ok)
        error = "not a regular file";
    text.clear();
    char buffer[4096];
    while (ok) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = std::strerror(errno);
            ok = false;
        } else if (n == 0) {
            break;
        } else if (text.size() + static_cast<size_t>(n) > maxSize) {
            error = "larger than " + std::to_string(maxSize) + " bytes";
            ok = false;
        } else {
            text.append(buffer, static_cast<size_t>(n));
        }
    }
    close(fd);
    return ok;
}

bool writeFileAtomically(const std::string& path, std::string_view text, std::string& error) {
    const std::string temporary = path + ".part";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    bool ok = true;
    while (ok && !text.empty()) {
        const ssize_t n = write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            text.remove_prefix(static_cast<size_t>(n));
    }
    if (!ok)
        error = std::strerror(errno);
    if (close(fd) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        ok = false;
    }
    if (!ok)
        unlink(temporary.c_str());
    return ok;
}

bool removeFile(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

bool makeFolder(const std::string& path) {
    struct stat info {};
    return (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) && stat(path.c_str(), &info) == 0 &&
           S_ISDIR(info.st_mode);
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool lastChange(const std::string& path, FileTime& time, bool followLink) {
    struct stat info {};
    if ((followLink ? stat(path.c_str(), &info) : lstat(path.c_str(), &info)) != 0)
        return false;
    time = FileTime{info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
    return true;
}

bool listFolder(const std::string& path, std::vector<std::string>& names) {
    DIR* folder = opendir(path.c_str());
    if (folder == nullptr)
        return false;
    names.clear();
    while (const dirent* entry = readdir(folder)) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    closedir(folder);
    return true;
}

std::string environment(const char* name, size_t maxLength) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return {};
    std::string text(value);
    return text.size() <= maxLength ? text : std::string();
}

FileTime now() {
    timespec time{};
    clock_gettime(CLOCK_REALTIME, &time);
    return FileTime{time.tv_sec, time.tv_nsec};
}

unsigned long processId() {
    return static_cast<unsigned long>(getpid());
}

}  // namespace simfiles
