#include "SimPaths.h"

#include "SimFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kMaxPathLength = 1024;

std::string environment(const char* name) {
    return simfiles::environment(name, kMaxPathLength);
}

bool isAbsolute(const std::string& path) {
    return !path.empty() && path[0] == '/';
}

// Makes path a folder of the user's alone (mode 0700) when it is absent; empty when it is then the
// user's own, a real folder and closed to others, else why not.
std::string claimPrivateDir(const std::string& path) {
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

}  // namespace

void SimPaths::findHome() {
    const std::string simHome = environment("RZ470_SIM_HOME");
    const std::string xdgState = environment("XDG_STATE_HOME");
    const std::string home = environment("HOME");
    if (!simHome.empty())
        home_ = simHome;
    else if (isAbsolute(xdgState))  // the XDG rules say to ignore a relative one
        home_ = xdgState + "/rz470-sim";
    else if (isAbsolute(home))
        home_ = home + "/.local/state/rz470-sim";
    else {
        // Anyone may create this name first, in a folder everyone writes to.
        home_ = "/tmp/rz470-sim-" + std::to_string(getuid());
        refusal_ = claimPrivateDir(home_);
    }
}

const char* SimPaths::whereDescription() {
    return "The control folder is $RZ470_SIM_HOME/spool, else $XDG_STATE_HOME/rz470-sim/spool\n"
           "(default ~/.local/state/rz470-sim/spool).\n";
}
