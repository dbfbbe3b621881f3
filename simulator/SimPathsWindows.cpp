#include "SimPaths.h"

#include <algorithm>

#include "SimFiles.h"

namespace {

constexpr size_t kMaxPathLength = 1024;

// The system takes either separator; the simulator joins with '/'.
std::string environmentPath(const char* name) {
    std::string path = simfiles::environment(name, kMaxPathLength);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// A drive's root ("C:/...") or a share ("//server/..."): anything else resolves against the
// current folder.
bool isAbsolute(const std::string& path) {
    const bool drive = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && path[2] == '/';
    return drive || path.compare(0, 2, "//") == 0;
}

}  // namespace

// The user's local application data is the user's alone by the profile's own access rights.
void SimPaths::findHome() {
    const std::string simHome = environmentPath("RZ470_SIM_HOME");
    const std::string localData = environmentPath("LOCALAPPDATA");
    if (!simHome.empty()) {
        home_ = simHome;
    } else if (isAbsolute(localData)) {
        home_ = localData + "/rz470-sim";
    } else {
        home_ = "%LOCALAPPDATA%/rz470-sim";
        refusal_ = "refusing the folder " + home_ + ": LOCALAPPDATA is not set to a full path; set it or RZ470_SIM_HOME";
    }
}

const char* SimPaths::whereDescription() {
    return "The control folder is %RZ470_SIM_HOME%\\spool, else %LOCALAPPDATA%\\rz470-sim\\spool.\n";
}
