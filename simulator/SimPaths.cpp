#include "SimPaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kMaxPathLength = 1024;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return {};
    std::string text(value);
    return text.size() <= kMaxPathLength ? text : std::string();
}

bool isAbsolute(const std::string& path) {
    return !path.empty() && path[0] == '/';
}

}  // namespace

SimPaths SimPaths::fromEnvironment() {
    SimPaths paths;
    const std::string simHome = environment("RZ470_SIM_HOME");
    const std::string xdgState = environment("XDG_STATE_HOME");
    const std::string home = environment("HOME");
    if (!simHome.empty())
        paths.home_ = simHome;
    else if (isAbsolute(xdgState))  // the XDG rules say to ignore a relative one
        paths.home_ = xdgState + "/rz470-sim";
    else if (isAbsolute(home))
        paths.home_ = home + "/.local/state/rz470-sim";
    else {
        // Anyone may create this name first, in a folder everyone writes to.
        paths.home_ = "/tmp/rz470-sim-" + std::to_string(getuid());
        paths.refusal_ = claimPrivateDir(paths.home_);
    }
    while (paths.home_.size() > 1 && paths.home_.back() == '/')
        paths.home_.pop_back();
    return paths;
}

std::string SimPaths::claimPrivateDir(const std::string& path) {
    const std::string refused = "refusing the folder " + path + ": ";
    if (mkdir(path.c_str(), 0700) == 0) {
        // The umask may have taken more away than asked; nobody else can have changed it since.
        if (chmod(path.c_str(), 0700) != 0)
            return refused + "cannot make it private (" + std::strerror(errno) + ")";
    } else if (errno != EEXIST) {
        return refused + "cannot create it (" + std::strerror(errno) + ")";
    }
    // Not followed: a link someone else left there could be pointed anywhere later.
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return refused + std::strerror(errno);
    if (!S_ISDIR(info.st_mode))
        return refused + "it is not a folder (a link or a file is in its place); remove it";
    if (info.st_uid != geteuid())
        return refused + "it belongs to user " + std::to_string(info.st_uid) + ", not to you (user " +
               std::to_string(geteuid()) + "); remove it or set XDG_STATE_HOME or RZ470_SIM_HOME";
    if ((info.st_mode & 0777) != 0700) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        return refused + "others may use it (mode " + mode + "); make it private (chmod 700) or remove it";
    }
    return {};
}

std::string SimPaths::stateFile(uint16_t serial) const {
    return home_ + "/unit-" + std::to_string(serial) + ".state";
}

bool SimPaths::ensureDir(const std::string& path) {
    if (path.empty())
        return false;
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/')
            continue;
        const std::string part = path.substr(0, pos);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
