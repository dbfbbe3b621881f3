// rz470-sim: sends one control command to a panel running with the simulated library and prints
// the answer. The panel answers while it polls the unit, so a panel that is not running (or not
// using the simulated library) shows up as no answer within the timeout.

#include <cstdio>
#include <cstring>
#include <string>

#include "ControlSpool.h"
#include "SimPaths.h"
#include "SimText.h"

namespace {

constexpr int kDefaultTimeoutMs = 3000;
constexpr unsigned long kMaxTimeoutMs = 60000;

enum ExitCode { kOk = 0, kCommandRefused = 1, kNoPanel = 2, kUsage = 3, kUnsafeFolder = 4 };

void usage(FILE* out) {
    std::fprintf(out,
                 "usage: rz470-sim [--timeout-ms N] <command...>\n"
                 "Sends a command to the simulated unit of a running panel and prints the reply.\n"
                 "'rz470-sim help' lists the commands; 'rz470-sim status' prints the unit's state.\n"
                 "%s",
                 SimPaths::whereDescription());
}

}  // namespace

int main(int argc, char** argv) {
    int timeoutMs = kDefaultTimeoutMs;
    int first = 1;
    if (first < argc && (std::strcmp(argv[first], "--help") == 0 || std::strcmp(argv[first], "-h") == 0)) {
        usage(stdout);
        return kOk;
    }
    if (first < argc && std::strcmp(argv[first], "--timeout-ms") == 0) {
        const auto value =
            first + 1 < argc ? simtext::parseNumber(argv[first + 1], kMaxTimeoutMs) : std::nullopt;
        if (!value || *value == 0) {
            std::fprintf(stderr, "rz470-sim: --timeout-ms expects 1..%lu\n", kMaxTimeoutMs);
            return kUsage;
        }
        timeoutMs = static_cast<int>(*value);
        first += 2;
    }
    if (first >= argc) {
        usage(stderr);
        return kUsage;
    }

    std::string command;
    for (int i = first; i < argc; ++i) {
        if (i > first)
            command += ' ';
        command += argv[i];
    }
    if (command.size() > ControlSpool::kMaxRequestSize - 1 || command.find('\n') != std::string::npos) {
        std::fprintf(stderr, "rz470-sim: a command is one line of at most %zu characters\n",
                     ControlSpool::kMaxRequestSize - 1);
        return kUsage;
    }

    const SimPaths paths = SimPaths::fromEnvironment();
    // Whoever else can write there could answer in the panel's place.
    if (!paths.usable()) {
        std::fprintf(stderr, "rz470-sim: %s\n", paths.refusal().c_str());
        return kUnsafeFolder;
    }
    const ControlSpool spool(paths.spoolDir());
    std::string reply;
    switch (spool.request(command, timeoutMs, reply)) {
        case ControlSpool::Outcome::Answered:
            break;
        case ControlSpool::Outcome::NoFolder:
            std::fprintf(stderr, "rz470-sim: no panel has used the simulated library here (no folder %s)\n",
                         spool.dir().c_str());
            return kNoPanel;
        case ControlSpool::Outcome::NoAnswer:
            std::fprintf(
                stderr,
                "rz470-sim: no panel answered within %d ms (is one running with the simulated unit?)\n",
                timeoutMs);
            return kNoPanel;
        case ControlSpool::Outcome::Failed:
            std::fprintf(stderr, "rz470-sim: cannot write a request into %s: %s\n", spool.dir().c_str(),
                         reply.c_str());
            return kNoPanel;
    }
    const bool refused = reply.compare(0, 6, "error:") == 0;
    std::fprintf(refused ? stderr : stdout, "%s\n", reply.c_str());
    return refused ? kCommandRefused : kOk;
}
