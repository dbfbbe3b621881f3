#include "FavouriteEdits.h"

#include "GroupingAndTrigger.h"
#include "PanelSettings.h"

bool FavouriteEdits::IsUsedSlot(int slot) const {
    return slot >= 1 && slot <= PanelSettings::kFavouriteSlots && !settings_.Favourite(slot).isFree();
}

ActionResult FavouriteEdits::SaveNew(const QString& name, int* slot) {
    settings_.ReloadFavourites();
    int freeSlot = 0;
    int used = 0;
    for (int each = 1; each <= PanelSettings::kFavouriteSlots; ++each) {
        const FavouriteGrouping favourite = settings_.Favourite(each);
        used += favourite.isFree() ? 0 : 1;
        if (favourite.isFree() && freeSlot == 0) {
            freeSlot = each;
        }
    }
    if (used >= PanelSettings::kFavouriteSlots || freeSlot == 0) {
        return {ActionOutcome::ListFull, std::nullopt, QString::fromLatin1(kListFullText),
                QString::fromLatin1(kActionTitle)};
    }
    for (int each = 1; each <= PanelSettings::kFavouriteSlots; ++each) {
        if (settings_.Favourite(each).name == name) {
            return {ActionOutcome::NameTaken, std::nullopt, QString::fromLatin1(kSameNameText),
                    QString::fromLatin1(kActionTitle)};
        }
    }
    settings_.SetFavourite(freeSlot,
                           {name, PanelSettings::PackGroups(tables_.ledGroup), tables_.groupingMode});
    if (slot != nullptr) {
        *slot = freeSlot;
    }
    return {};
}

int FavouriteEdits::SlotHolding(const QString& name, int listedSlot) const {
    settings_.ReloadFavourites();
    if (IsUsedSlot(listedSlot) && settings_.Favourite(listedSlot).name == name) {
        return listedSlot;
    }
    for (int slot = 1; slot <= PanelSettings::kFavouriteSlots; ++slot) {
        if (IsUsedSlot(slot) && settings_.Favourite(slot).name == name) {
            return slot;
        }
    }
    return 0;
}

ActionResult FavouriteEdits::SaveOver(int slot) {
    if (!IsUsedSlot(slot)) {
        return ActionResult::Refused(ActionOutcome::NotListed);
    }
    settings_.SetFavouriteGroups(slot, PanelSettings::PackGroups(tables_.ledGroup), tables_.groupingMode);
    return {};
}

ActionResult FavouriteEdits::Load(int slot) {
    if (!IsUsedSlot(slot)) {
        return ActionResult::Refused(ActionOutcome::NotListed);
    }
    const FavouriteGrouping favourite = settings_.Favourite(slot);
    tables_.ledGroup = PanelSettings::UnpackGroups(favourite.packedGroups);
    tables_.groupingMode = static_cast<uint8_t>(favourite.mode);
    return {};
}

ActionResult FavouriteEdits::Delete(int slot) {
    if (!IsUsedSlot(slot)) {
        return ActionResult::Refused(ActionOutcome::NotListed);
    }
    settings_.SetFavourite(slot, {});
    return {};
}
