// The control channel between the rz470-sim tool and a panel that has the simulated library
// loaded: a private spool folder. The tool drops "<id>.req" (one command) and waits for
// "<id>.rep"; the library answers waiting requests whenever the panel calls UpdateData. Both
// sides write a file aside and rename it, so neither ever reads half a file, and the library
// never blocks on the tool.
#pragma once

#include <functional>
#include <string>
#include <string_view>

class ControlSpool {
public:
    static constexpr size_t kMaxRequestSize = 4096;
    static constexpr size_t kMaxReplySize = 1024 * 1024;
    static constexpr int kMaxRequestsPerPoll = 8;
    static constexpr int kStaleSeconds = 60;  // replies nobody fetched are removed after this

    enum class Outcome { Answered, NoFolder, NoAnswer, Failed };

    explicit ControlSpool(std::string dir) : dir_(std::move(dir)) {}
    const std::string& dir() const { return dir_; }

    // Library side: answers up to kMaxRequestsPerPoll waiting requests.
    void serve(const std::function<std::string(std::string_view)>& handler) const;

    // Tool side: sends one command and waits up to timeoutMs for the answer (on Failed, `reply`
    // says why).
    Outcome request(std::string_view command, int timeoutMs, std::string& reply) const;

private:
    std::string dir_;
};
