// The control channel between the rz470-sim tool and a panel that has the simulated library
// loaded: a private spool folder. The tool drops "<id>.req" (one command) and waits for
// "<id>.rep"; the library answers waiting requests whenever the panel calls UpdateData. Both
// sides write a file aside and rename it, so neither ever reads half a file, and the library
// never blocks on the tool.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "SimFiles.h"

class ControlSpool {
public:
    static constexpr size_t kMaxRequestSize = 4096;
    static constexpr size_t kMaxReplySize = 1024 * 1024;
    static constexpr int kMaxRequestsPerPoll = 8;
    static constexpr int kStaleSeconds = 60;  // replies nobody fetched are removed after this

    enum class Outcome { Answered, NoFolder, NoAnswer, Failed };

    explicit ControlSpool(std::string dir) : dir_(std::move(dir)) {}
    const std::string& dir() const { return dir_; }

    // What the library saw of the folder when it last listed it. Listing a folder is most of an
    // idle panel's poll; one that has not changed since a listing that saw all of it is not
    // listed again.
    struct Seen {
        std::string dir;
        simfiles::FileTime changed{};
        // Nothing was left for a later poll, and the listing came well after the folder's last
        // change: its time is coarse, so a listing made in the same instant may have missed a
        // request that left the time as it was.
        bool complete = false;
    };

    // Library side: answers up to kMaxRequestsPerPoll waiting requests, unless seen shows the
    // folder unchanged since it was last listed; updates seen.
    void serve(const std::function<std::string(std::string_view)>& handler, Seen& seen) const;

    // Tool side: sends one command and waits up to timeoutMs for the answer (on Failed, `reply`
    // says why).
    Outcome request(std::string_view command, int timeoutMs, std::string& reply) const;

private:
    std::string dir_;
};
