// The entry-point calls the library has answered, newest last. Bounded: a panel polls many
// times a second for as long as it runs.
#pragma once

#include <deque>
#include <string>

class CallLog {
public:
    static constexpr size_t kCapacity = 2000;

    void append(std::string line);
    void clear() { lines_.clear(); }
    // The last `count` lines, one per line of text.
    std::string text(size_t count) const;
    size_t size() const { return lines_.size(); }

private:
    std::deque<std::string> lines_;
};
