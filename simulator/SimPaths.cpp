#include "SimPaths.h"

#include "SimFiles.h"

SimPaths SimPaths::fromEnvironment() {
    SimPaths paths;
    paths.findHome();
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
        if (!simfiles::makeFolder(path.substr(0, pos)) && pos == path.size())
            return false;
    }
    return simfiles::isFolder(path);
}
