#pragma once

#include "PanelSettings.h"

#include <QComboBox>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>

class Prompts;
class QWidget;
struct GroupingAndTrigger;

// The favourite groupings of the grouping screen: the combo box under "Favorite Groupings" that
// lists them, and what its Load/Save button does. Favourites live only in the settings; the list
// is rebuilt from them and shows the favourite in force.
class FavouriteGroupings {
public:
    static constexpr int kItems = PanelSettings::kFavouriteSlots + 1;  // "Not Selected" first
    static constexpr int kNoSlot = -1;
    static constexpr const char* kNotSelected = "Not Selected";
    static constexpr const char* kListFullText =
        "There are 10 combination settings already, please delete one or just modify one exist setting "
        "value then try again, ";
    static constexpr const char* kSameNameText =
        "The same name was found in the list, Please select a different name and try again ";
    static constexpr const char* kActionTitle = "Action";

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

private:
    // The list item chosen, or -1 when the user typed a name since.
    int SelectedItem() const;
    void Select(int item);
    QStringList ItemTexts() const;
    void SaveNew();
    void Delete(int item);
    FavouriteGrouping Present(const QString& name) const;

    PanelSettings& settings_;
    Prompts& prompts_;
    GroupingAndTrigger& tables_;
    QPointer<QComboBox> combo_;
    int favouriteCount_ = 0;
    std::array<int, kItems> favouriteSlotOfItem_{};
    bool typed_ = false;
    QString typedText_;
};
