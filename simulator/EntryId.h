// Entry points by position in the contract's table, for the per-call fault plan and the log.
#pragma once

#include "RZ470Api.h"

enum EntryId : int {
#define RZ470_SIM_ENTRY_ID(name, ret, params) kCall_##name,
    RZ470_ENTRY_POINTS(RZ470_SIM_ENTRY_ID)
#undef RZ470_SIM_ENTRY_ID
        kCallCount
};

static_assert(kCallCount == rz470::kEntryPointCount, "one id per entry point");
