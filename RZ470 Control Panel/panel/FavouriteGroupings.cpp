#include "FavouriteGroupings.h"

#include "GroupingAndTrigger.h"
#include "Prompts.h"
#include "SettingsKeys.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace {

// Just below the "Favorite Groupings" caption: 575, 158 and 129 dialog units wide.
constexpr int kComboLeft = 863;
constexpr int kComboTop = 257;
constexpr int kComboWidth = 194;

}  // namespace

FavouriteGroupings::FavouriteGroupings(QWidget& window, PanelSettings& settings, Prompts& prompts,
                                       GroupingAndTrigger& tables)
    : settings_(settings), prompts_(prompts), tables_(tables), combo_(new QComboBox(&window)) {
    combo_->hide();
    combo_->setEditable(true);
    // The list changes only through the Load/Save button: Enter inserts nothing, and no completer
    // turns a typed "beta" into the listed "Beta".
    combo_->setInsertPolicy(QComboBox::NoInsert);
    combo_->setCompleter(nullptr);
    combo_->lineEdit()->setMaxLength(settings::kMaxStoredStringLength);
    combo_->setGeometry(kComboLeft, kComboTop, kComboWidth, combo_->sizeHint().height());
    favouriteSlotOfItem_.fill(kNoSlot);

    // Qt keeps the list's current item while the user types; what the user did tells a typed
    // name from a chosen favourite.
    QObject::connect(combo_->lineEdit(), &QLineEdit::textEdited, combo_, [this](const QString& text) {
        typed_ = true;
        typedText_ = text;
    });
    QObject::connect(combo_, &QComboBox::activated, combo_, [this](int item) {
        // Enter on a typed name equal to an item selects that item; the name stays typed.
        if (typed_ && combo_->itemText(item) == typedText_) {
            return;
        }
        typed_ = false;
    });
}

FavouriteGroupings::~FavouriteGroupings() {
    delete combo_.data();
}

void FavouriteGroupings::Show() {
    combo_->show();
}

void FavouriteGroupings::Hide() {
    combo_->hide();
}

int FavouriteGroupings::SelectedItem() const {
    return typed_ ? -1 : combo_->currentIndex();
}

void FavouriteGroupings::Select(int item) {
    combo_->setCurrentIndex(item);
    typed_ = false;
}

FavouriteGrouping FavouriteGroupings::Present(const QString& name) const {
    return {name, PanelSettings::PackGroups(tables_.ledGroup), tables_.groupingMode};
}

void FavouriteGroupings::RefreshFavourites() {
    combo_->update();
    QStringList items{QString::fromLatin1(kNotSelected)};
    favouriteCount_ = 0;
    favouriteSlotOfItem_.fill(kNoSlot);
    favouriteSlotOfItem_[0] = 0;
    int match = 0;
    for (int slot = 1; slot <= PanelSettings::kFavouriteSlots; ++slot) {
        const FavouriteGrouping favourite = settings_.Favourite(slot);
        if (favourite.isFree()) {
            continue;
        }
        ++favouriteCount_;
        items << favourite.name;
        favouriteSlotOfItem_[static_cast<size_t>(favouriteCount_)] = slot;
        if (match == 0 && PanelSettings::UnpackGroups(favourite.packedGroups) == tables_.ledGroup &&
            favourite.mode == tables_.groupingMode) {
            match = favouriteCount_;
        }
    }
    // Every full paint refreshes the list; Qt's list is rebuilt only when its items changed.
    if (ItemTexts() != items) {
        combo_->clear();
        combo_->addItems(items);
    }
    Select(match);
    // A name typed over the chosen item goes, as it went when the list was rebuilt.
    combo_->setEditText(combo_->itemText(match));
}

QStringList FavouriteGroupings::ItemTexts() const {
    QStringList texts;
    for (int item = 0; item < combo_->count(); ++item) {
        texts << combo_->itemText(item);
    }
    return texts;
}

bool FavouriteGroupings::FavouriteOptions() {
    const int item = SelectedItem();
    if (item < 0) {
        SaveNew();
        return false;
    }
    // "Not Selected", or an item the list does not hold.
    if (item < 1 || item > favouriteCount_) {
        return false;
    }
    const int slot = favouriteSlotOfItem_[static_cast<size_t>(item)];
    switch (prompts_.favouriteOptions()) {
        case Prompts::FavouriteOption::Save: {
            // The name, the list and the unit stay as they are.
            settings_.SetFavourite(slot, Present(settings_.Favourite(slot).name));
            return false;
        }
        case Prompts::FavouriteOption::Load: {
            const FavouriteGrouping favourite = settings_.Favourite(slot);
            tables_.ledGroup = PanelSettings::UnpackGroups(favourite.packedGroups);
            tables_.groupingMode = static_cast<uint8_t>(favourite.mode);
            return true;
        }
        case Prompts::FavouriteOption::Delete:
            Delete(item);
            return false;
        case Prompts::FavouriteOption::Cancel:
            break;
    }
    return false;
}

void FavouriteGroupings::SaveNew() {
    if (favouriteCount_ >= PanelSettings::kFavouriteSlots) {
        prompts_.message(QString::fromLatin1(kListFullText), QString::fromLatin1(kActionTitle));
        return;
    }
    const QString name = combo_->currentText();
    // A free slot's name is empty, so an empty name stops here too.
    for (int slot = 1; slot <= PanelSettings::kFavouriteSlots; ++slot) {
        if (settings_.Favourite(slot).name == name) {
            prompts_.message(QString::fromLatin1(kSameNameText), QString::fromLatin1(kActionTitle));
            return;
        }
    }
    for (int slot = 1; slot <= PanelSettings::kFavouriteSlots; ++slot) {
        if (!settings_.Favourite(slot).isFree()) {
            continue;
        }
        settings_.SetFavourite(slot, Present(name));
        ++favouriteCount_;
        combo_->insertItem(favouriteCount_, name);
        favouriteSlotOfItem_[static_cast<size_t>(favouriteCount_)] = slot;
        Select(favouriteCount_);
        return;
    }
    // Every slot was taken behind the list's back: nothing is overwritten.
}

void FavouriteGroupings::Delete(int item) {
    const int slot = favouriteSlotOfItem_[static_cast<size_t>(item)];
    // The values stay in the settings, emptied.
    settings_.SetFavourite(slot, {});
    combo_->removeItem(item);
    for (int later = item; later < favouriteCount_; ++later) {
        favouriteSlotOfItem_[static_cast<size_t>(later)] =
            favouriteSlotOfItem_[static_cast<size_t>(later) + 1];
    }
    favouriteSlotOfItem_[static_cast<size_t>(favouriteCount_)] = kNoSlot;
    --favouriteCount_;
    Select(0);
}
