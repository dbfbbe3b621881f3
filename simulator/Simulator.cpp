#include "Simulator.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "CommandInterpreter.h"
#include "ControlSpool.h"
#include "SimConfig.h"
#include "StateFile.h"

namespace {

constexpr size_t kMaxCommandLength = ControlSpool::kMaxRequestSize;

void warn(const std::string& text) {
    std::fprintf(stderr, "rz470-sim: %s\n", text.c_str());
}

}  // namespace

Simulator& Simulator::instance() {
    // Made on first call, so nothing depends on the order of static initialisation.
    static Simulator simulator;
    return simulator;
}

Simulator::Simulator() {
    load(true);
}

void Simulator::load(bool withSavedState) {
    paths_ = SimPaths::fromEnvironment();
    for (int i = 0; i < kMaxUnits; ++i)
        units_[i] = SimUnit::factoryDefault(i);

    std::vector<std::string> warnings;
    const char* config = std::getenv("RZ470_SIM_CONFIG");
    const int plugged = SimConfig::apply(config ? config : "", units_.data(), kMaxUnits, warnings);
    for (const std::string& w : warnings)
        warn(w);
    for (int i = 0; i < kMaxUnits; ++i)
        units_[i].plugged = i < plugged;

    // The unit still answers from a refused folder, with its defaults and without the tool.
    if (!paths_.usable())
        warn(paths_.refusal() + "; the simulated unit runs without saved settings and without rz470-sim");
    if (withSavedState && paths_.usable()) {
        for (SimUnit& unit : units_) {
            std::string error;
            const std::string path = paths_.stateFile(unit.serial);
            if (!StateFile::load(path, unit, error) && !error.empty())
                warn("ignoring saved settings " + path + ": " + error);
        }
    }
    faults_.clear();
    log_.clear();
    if (paths_.usable() && !SimPaths::ensureDir(paths_.spoolDir()))
        warn("cannot create the control folder " + paths_.spoolDir());
}

SimUnit* Simulator::activeUnit(uint16_t deviceIndex) {
    for (SimUnit& unit : units_) {
        if (unit.plugged && unit.deviceIndex == deviceIndex)
            return &unit;
    }
    return nullptr;
}

int Simulator::pluggedCount() const {
    int count = 0;
    for (const SimUnit& unit : units_)
        count += unit.plugged ? 1 : 0;
    return count;
}

bool Simulator::saveSettings(const SimUnit& unit, std::string& error) const {
    if (!paths_.usable()) {
        error = paths_.refusal();
        return false;
    }
    if (!SimPaths::ensureDir(paths_.home())) {
        error = "cannot create " + paths_.home();
        return false;
    }
    return StateFile::save(paths_.stateFile(unit.serial), unit, error);
}

void Simulator::serveControl() {
    if (!paths_.usable())
        return;
    // The spool folder is read before any command runs: a `reload` may move it.
    const ControlSpool spool(paths_.spoolDir());
    spool.serve([this](std::string_view text) { return CommandInterpreter(*this).execute(text); }, spoolSeen_);
}

const char* Simulator::command(const char* text) {
    if (text == nullptr) {
        reply_ = "error: no command";
        return reply_.c_str();
    }
    size_t length = 0;
    while (length <= kMaxCommandLength && text[length] != '\0')
        ++length;
    if (length > kMaxCommandLength)
        reply_ = "error: command longer than " + std::to_string(kMaxCommandLength) + " characters";
    else
        reply_ = CommandInterpreter(*this).execute(std::string_view(text, length));
    return reply_.c_str();
}
