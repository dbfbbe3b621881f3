#pragma once

#include "FavouriteEdits.h"
#include "PanelSettings.h"

#include <QComboBox>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class Prompts;
class QObject;
class QWidget;
struct GroupingAndTrigger;

// The favourite groupings of the grouping screen: the combo box under "Favorite Groupings" that
// lists them, and what its Load/Save button does. Favourites live only in the settings; the list
// is rebuilt from them and shows the favourite in force. Every change reads the settings again
// first and acts on the slot that holds the favourite now, so a list gone stale since it was
// built (the settings edited meanwhile) never overwrites or deletes another favourite.
class FavouriteGroupings {
public:
    static constexpr int kItems = PanelSettings::kFavouriteSlots + 1;  // "Not Selected" first
    static constexpr int kNoSlot = -1;
    static constexpr const char* kNotSelected = "Not Selected";

    // The combo box is a child of window, created hidden.
    FavouriteGroupings(QWidget& window, PanelSettings& settings, Prompts& prompts,
                       GroupingAndTrigger& tables);
    ~FavouriteGroupings();
    FavouriteGroupings(const FavouriteGroupings&) = delete;
    FavouriteGroupings& operator=(const FavouriteGroupings&) = delete;

    void Show();
    void Hide();
    // The list, for the keyboard's way through the screen.
    QWidget& widget() const { return *combo_; }

    // Rebuilds the list from the settings and selects the first favourite equal to the present
    // grouping and mode, or "Not Selected". Typed text is lost.
    void RefreshFavourites();
    // The Load/Save button: a typed name is saved as a new favourite; a chosen favourite is saved
    // over, loaded or deleted as the user answers. True when a favourite was loaded into the
    // tables, which the caller then shows and sends.
    bool FavouriteOptions();

    // Escape in the text field: drops what was typed there; false when nothing was typed.
    bool DropTypedText();

private:
    // The list item chosen, or -1 when the user typed a name since.
    int SelectedItem() const;
    void Select(int item);
    QStringList ItemTexts() const;
    void SaveNew();
    void Delete(int item, int slot);
    // The slot holding item's favourite in the settings as they are now, 0 when none does.
    int SlotHoldingNow(int item) const;
    // Whether each listed favourite is still in its slot and no other has been stored since.
    bool ListMatchesSettings() const;
    // Rebuilds the list and chooses the favourite of slot.
    void RefreshAndChoose(int slot);

    PanelSettings& settings_;
    Prompts& prompts_;
    GroupingAndTrigger& tables_;
    FavouriteEdits edits_;
    QPointer<QComboBox> combo_;
    int favouriteCount_ = 0;
    std::array<int, kItems> favouriteSlotOfItem_{};
    bool typed_ = false;
    QString typedText_;
    // Set while the text field handles Enter, which picks the item equal to the typed name.
    bool enterInField_ = false;
    std::unique_ptr<QObject> fieldKeys_;
    std::unique_ptr<QObject> closingClicks_;
};
