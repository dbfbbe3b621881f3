#pragma once

#include "ActionResult.h"

#include <cstddef>
#include <cstdint>

class UnitSession;
struct GroupingAndTrigger;

// The grouping screen's edits: a channel's group number and the compatibility mode. Every
// edit of a group goes to the unit at once as the six member lists.
class GroupingEdits {
public:
    static constexpr const char* kExceedsLimitText =
        "Some setting values exceed the limit in the selected mode, please change them. ";
    static constexpr const char* kExceedsLimitTitle = "Warning and Action";

    explicit GroupingEdits(UnitSession& session) : session_(session) {}

    // channel is the unit's channel index (0..8). A number above the mode's limit is refused.
    ActionResult SetGroup(size_t channel, unsigned group);
    // The arrows stop at 0 and at the mode's limit.
    ActionResult StepGroupDown(size_t channel);
    ActionResult StepGroupUp(size_t channel);
    ActionResult ClearGroup(size_t channel);
    // mode 1 or 2. The mode in force turns grouping off and empties every group, which is sent;
    // another is only taken, and warned about when a group is above its limit.
    ActionResult SwitchMode(uint8_t mode);
    // A loaded favourite goes out as it is, whatever its mode allows and whether or not the unit
    // answers.
    ActionResult SendLoaded();

private:
    GroupingAndTrigger& tables();
    ActionResult Apply();

    UnitSession& session_;
};
