#include "SimPaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

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
    else
        paths.home_ = "/tmp/rz470-sim-" + std::to_string(getuid());
    while (paths.home_.size() > 1 && paths.home_.back() == '/')
        paths.home_.pop_back();
    return paths;
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
