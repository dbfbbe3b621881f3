#pragma once

#include "ActionResult.h"

#include <QString>

class PanelSettings;
struct GroupingAndTrigger;

// The favourite groupings as the settings hold them, slots 1..10: the present grouping and mode
// saved under a new name or over a favourite, a favourite loaded into the tables, or deleted.
// Each reads the settings again first, so another writer's changes are seen.
class FavouriteEdits {
public:
    static constexpr const char* kListFullText =
        "There are 10 combination settings already, please delete one or just modify one exist setting "
        "value then try again, ";
    static constexpr const char* kSameNameText =
        "The same name was found in the list, Please select a different name and try again ";
    static constexpr const char* kActionTitle = "Action";

    FavouriteEdits(PanelSettings& settings, GroupingAndTrigger& tables)
        : settings_(settings), tables_(tables) {}

    // Into the first free slot, which *slot receives; refused when every slot is used or a
    // favourite has the name (an empty name is a free slot's, so it is taken too).
    ActionResult SaveNew(const QString& name, int* slot = nullptr);
    // The slot holding the favourite called name now: listedSlot when it still does, else the
    // first that does, 0 when none does.
    int SlotHolding(const QString& name, int listedSlot = 0) const;
    // The present groups and mode over the favourite of slot; its name stays.
    ActionResult SaveOver(int slot);
    // The favourite's groups and mode into the panel's tables; GroupingEdits::SendLoaded sends
    // them.
    ActionResult Load(int slot);
    // The slot's values stay in the settings, emptied.
    ActionResult Delete(int slot);

private:
    bool IsUsedSlot(int slot) const;

    PanelSettings& settings_;
    GroupingAndTrigger& tables_;
};
