#include "FaultPlan.h"

#include <chrono>
#include <thread>

int FaultPlan::find(std::string_view name) {
    for (int i = 0; i < kCallCount; ++i) {
        if (name == rz470::kEntryPointNames[i])
            return i;
    }
    return -1;
}

bool FaultPlan::takeFailure(EntryId id) {
    if (failures_[id] == 0)
        return false;
    --failures_[id];
    return true;
}

void FaultPlan::waitDelay(EntryId id) const {
    if (delaysMs_[id] != 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delaysMs_[id]));
}

void FaultPlan::clear() {
    failures_.fill(0);
    delaysMs_.fill(0);
}

std::string FaultPlan::describe() const {
    std::string out;
    for (int i = 0; i < kCallCount; ++i) {
        if (failures_[i] != 0)
            out +=
                std::string("fail.") + rz470::kEntryPointNames[i] + '=' + std::to_string(failures_[i]) + '\n';
        if (delaysMs_[i] != 0)
            out += std::string("delay.") + rz470::kEntryPointNames[i] + '=' + std::to_string(delaysMs_[i]) +
                   '\n';
    }
    return out;
}
