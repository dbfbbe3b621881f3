#include "ControlSpool.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "SimFiles.h"

namespace {

constexpr std::string_view kRequestSuffix = ".req";
constexpr std::string_view kReplySuffix = ".rep";
constexpr std::string_view kPartSuffix = ".part";
constexpr size_t kMaxIdLength = 64;

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool isId(std::string_view id) {
    return !id.empty() && id.size() <= kMaxIdLength && std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
    });
}

// One command per request; a trailing line end is tolerated.
std::string requestError(std::string& text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (text.find('\0') != std::string::npos)
        return "error: request holds a NUL byte";
    if (text.find('\n') != std::string::npos)
        return "error: one command per request";
    return {};
}

bool isStale(const std::string& path, int64_t now) {
    simfiles::FileTime changed;
    return simfiles::lastChange(path, changed, false) && now - changed.seconds > ControlSpool::kStaleSeconds;
}

// A listing this long after the folder's last change saw everything of that change.
constexpr int64_t kSettledSeconds = 2;

}  // namespace

void ControlSpool::serve(const std::function<std::string(std::string_view)>& handler, Seen& seen) const {
    simfiles::FileTime changed;
    const bool statted = simfiles::lastChange(dir_, changed, true);
    if (statted && seen.complete && seen.dir == dir_ && changed == seen.changed)
        return;
    seen = Seen{dir_, changed, false};
    std::vector<std::string> names;
    if (!simfiles::listFolder(dir_, names))
        return;
    std::vector<std::string> requests;
    std::vector<std::string> leftovers;
    for (const std::string& entry : names) {
        const std::string_view name(entry);
        if (endsWith(name, kRequestSuffix) && isId(name.substr(0, name.size() - kRequestSuffix.size())))
            requests.emplace_back(name.substr(0, name.size() - kRequestSuffix.size()));
        else if (endsWith(name, kReplySuffix) || endsWith(name, kPartSuffix))
            leftovers.emplace_back(name);
    }

    const simfiles::FileTime listed = simfiles::now();
    // Replies wait for the tool and stale ones for their removal: the folder is listed again.
    seen.complete = statted && requests.size() <= static_cast<size_t>(kMaxRequestsPerPoll) && leftovers.empty() &&
                    listed.seconds - changed.seconds >= kSettledSeconds;

    std::sort(requests.begin(), requests.end());
    if (requests.size() > static_cast<size_t>(kMaxRequestsPerPoll))
        requests.resize(kMaxRequestsPerPoll);  // the rest wait for the next poll
    for (const std::string& id : requests) {
        const std::string requestPath = dir_ + '/' + id + std::string(kRequestSuffix);
        std::string text;
        std::string error;
        const bool read = simfiles::readSmallFile(requestPath, kMaxRequestSize, text, error);
        simfiles::removeFile(requestPath);
        std::string reply;
        if (!read)
            reply = "error: unreadable request (" + (error.empty() ? std::string("gone") : error) + ")";
        else
            reply = requestError(text);
        if (reply.empty())
            reply = handler(text);
        if (reply.size() > kMaxReplySize)
            reply.resize(kMaxReplySize);
        std::string ignored;  // the tool times out and says so
        simfiles::writeFileAtomically(dir_ + '/' + id + std::string(kReplySuffix), reply, ignored);
    }

    const int64_t now = simfiles::now().seconds;
    for (size_t i = 0; i < leftovers.size() && i < static_cast<size_t>(kMaxRequestsPerPoll); ++i) {
        const std::string path = dir_ + '/' + leftovers[i];
        if (isStale(path, now))
            simfiles::removeFile(path);
    }
}

ControlSpool::Outcome ControlSpool::request(std::string_view command, int timeoutMs,
                                            std::string& reply) const {
    if (!simfiles::isFolder(dir_))
        return Outcome::NoFolder;

    const auto started = std::chrono::steady_clock::now();
    const std::string id = std::to_string(simfiles::processId()) + '-' +
                           std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                              std::chrono::system_clock::now().time_since_epoch())
                                              .count());
    const std::string requestPath = dir_ + '/' + id + std::string(kRequestSuffix);
    const std::string replyPath = dir_ + '/' + id + std::string(kReplySuffix);
    std::string error;
    if (!simfiles::writeFileAtomically(requestPath, std::string(command) + '\n', error)) {
        reply = error;
        return Outcome::Failed;
    }

    const auto deadline = started + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (simfiles::readSmallFile(replyPath, kMaxReplySize, reply, error)) {
            simfiles::removeFile(replyPath);
            return Outcome::Answered;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Taken back so a panel started later does not run a command nobody waits for.
    simfiles::removeFile(requestPath);
    return Outcome::NoAnswer;
}
