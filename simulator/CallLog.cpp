#include "CallLog.h"

void CallLog::append(std::string line) {
    if (lines_.size() == kCapacity)
        lines_.pop_front();
    lines_.push_back(std::move(line));
}

std::string CallLog::text(size_t count) const {
    std::string out;
    const size_t first = count < lines_.size() ? lines_.size() - count : 0;
    for (size_t i = first; i < lines_.size(); ++i) {
        if (!out.empty())
            out += '\n';
        out += lines_[i];
    }
    return out;
}
