#include "FavouriteGroupings.h"

#include "GroupingAndTrigger.h"
#include "Prompts.h"
#include "SettingsKeys.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>
#include <functional>

namespace {

// Just below the "Favorite Groupings" caption: 575, 158 and 129 dialog units wide.
constexpr int kComboLeft = 863;
constexpr int kComboTop = 257;
constexpr int kComboWidth = 194;

// Watches the keys the list box and its text field are given: Enter is flagged for as long as it
// is handled, and Escape is taken when the field had typed text to drop.
class FieldKeys : public QObject {
public:
    FieldKeys(bool& enterInField, std::function<bool()> dropTypedText)
        : enterInField_(enterInField), dropTypedText_(std::move(dropTypedText)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || enterInField_) {
            return QObject::eventFilter(watched, event);
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            return dropTypedText_();
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            enterInField_ = true;
            QCoreApplication::sendEvent(watched, event);
            enterInField_ = false;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool& enterInField_;
    std::function<bool()> dropTypedText_;
};

// The press that closes the open list on the panel's painted surface is the panel's too: X11
// only closes the list with it (other platforms hand it on), so the first click on Load/Save or
// an arrow did nothing. It goes to the panel as its press, and the panel takes the mouse until
// the release, which Qt would otherwise drop with the list.
class ClosingClicks : public QObject {
public:
    explicit ClosingClicks(QComboBox& combo) : combo_(combo), window_(*combo.window()) {
        combo_.view()->window()->installEventFilter(this);
        window_.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_) {
            if (event->type() == QEvent::MouseButtonRelease && holding_) {
                holding_ = false;
                window_.releaseMouse();
            }
            return false;
        }
        if (event->type() != QEvent::MouseButtonPress) {
            return false;
        }
        auto* list = static_cast<QWidget*>(watched);
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPoint global = press->globalPosition().toPoint();
        const QPoint local = window_.mapFromGlobal(global);
        // Inside the list, on the box itself or on another widget: Qt's own way.
        if (list->rect().contains(list->mapFromGlobal(global)) || !window_.rect().contains(local) ||
            window_.childAt(local) != nullptr) {
            return false;
        }
        // Where Qt hands the press on itself, it must not come twice.
        const bool noReplay = list->testAttribute(Qt::WA_NoMouseReplay);
        list->setAttribute(Qt::WA_NoMouseReplay);
        combo_.hidePopup();
        list->setAttribute(Qt::WA_NoMouseReplay, noReplay);
        QMouseEvent pressed(QEvent::MouseButtonPress, QPointF(local), QPointF(local), QPointF(global),
                            press->button(), press->buttons(), press->modifiers());
        QCoreApplication::sendEvent(&window_, &pressed);
        window_.grabMouse();
        holding_ = true;
        return true;
    }

private:
    QComboBox& combo_;
    QWidget& window_;
    bool holding_ = false;
};

}  // namespace

FavouriteGroupings::FavouriteGroupings(QWidget& window, PanelSettings& settings, Prompts& prompts,
                                       GroupingAndTrigger& tables)
    : settings_(settings),
      prompts_(prompts),
      tables_(tables),
      edits_(settings, tables),
      combo_(new QComboBox(&window)) {
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
        // Enter on a typed name equal to an item selects that item; the name stays typed. An
        // item picked from the list is a pick, whatever was typed.
        if (enterInField_ && typed_ && combo_->itemText(item) == typedText_) {
            return;
        }
        typed_ = false;
    });
    fieldKeys_ = std::make_unique<FieldKeys>(enterInField_, [this] { return DropTypedText(); });
    // Pressed keys go to the box, which holds the focus for its field and hands them on without
    // the field's filters; keys sent to the field itself are watched there.
    combo_->installEventFilter(fieldKeys_.get());
    combo_->lineEdit()->installEventFilter(fieldKeys_.get());
    closingClicks_ = std::make_unique<ClosingClicks>(*combo_);
}

FavouriteGroupings::~FavouriteGroupings() {
    delete combo_.data();
}

bool FavouriteGroupings::DropTypedText() {
    if (!typed_) {
        return false;
    }
    const int item = combo_->currentIndex();
    Select(item);
    combo_->setEditText(combo_->itemText(item));
    return true;
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

void FavouriteGroupings::RefreshFavourites() {
    combo_->update();
    settings_.ReloadFavourites();
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
    const Prompts::FavouriteOption option = prompts_.favouriteOptions();
    if (option == Prompts::FavouriteOption::Cancel) {
        return false;
    }
    const int slot = SlotHoldingNow(item);
    if (slot == 0) {
        // Deleted meanwhile: the list shows what is left.
        RefreshFavourites();
        return false;
    }
    switch (option) {
        case Prompts::FavouriteOption::Save:
            // The name, the list and the unit stay as they are.
            edits_.SaveOver(slot);
            return false;
        case Prompts::FavouriteOption::Load:
            return edits_.Load(slot).changed();
        case Prompts::FavouriteOption::Delete:
            Delete(item, slot);
            return false;
        case Prompts::FavouriteOption::Cancel:
            break;
    }
    return false;
}

int FavouriteGroupings::SlotHoldingNow(int item) const {
    return edits_.SlotHolding(combo_->itemText(item), favouriteSlotOfItem_[static_cast<size_t>(item)]);
}

bool FavouriteGroupings::ListMatchesSettings() const {
    int used = 0;
    for (int slot = 1; slot <= PanelSettings::kFavouriteSlots; ++slot) {
        used += settings_.Favourite(slot).isFree() ? 0 : 1;
    }
    if (used != favouriteCount_) {
        return false;
    }
    for (int item = 1; item <= favouriteCount_; ++item) {
        const int slot = favouriteSlotOfItem_[static_cast<size_t>(item)];
        if (settings_.Favourite(slot).name != combo_->itemText(item)) {
            return false;
        }
    }
    return true;
}

void FavouriteGroupings::RefreshAndChoose(int slot) {
    RefreshFavourites();
    const auto found = std::find(favouriteSlotOfItem_.begin() + 1, favouriteSlotOfItem_.end(), slot);
    const int item = found == favouriteSlotOfItem_.end() ? 0 : int(found - favouriteSlotOfItem_.begin());
    Select(item);
    combo_->setEditText(combo_->itemText(item));
}

void FavouriteGroupings::SaveNew() {
    const QString name = combo_->currentText();
    settings_.ReloadFavourites();
    const bool listMatches = ListMatchesSettings();
    int freeSlot = 0;
    const ActionResult saved = edits_.SaveNew(name, &freeSlot);
    if (saved.refused()) {
        prompts_.message(saved.message, saved.title);
        return;
    }
    if (!listMatches) {
        RefreshAndChoose(freeSlot);
        return;
    }
    // Shown last until the next rebuild, whatever its slot.
    ++favouriteCount_;
    combo_->insertItem(favouriteCount_, name);
    favouriteSlotOfItem_[static_cast<size_t>(favouriteCount_)] = freeSlot;
    Select(favouriteCount_);
}

void FavouriteGroupings::Delete(int item, int slot) {
    const bool listMatches = ListMatchesSettings();
    edits_.Delete(slot);
    if (!listMatches || favouriteSlotOfItem_[static_cast<size_t>(item)] != slot) {
        RefreshAndChoose(0);
        return;
    }
    combo_->removeItem(item);
    for (int later = item; later < favouriteCount_; ++later) {
        favouriteSlotOfItem_[static_cast<size_t>(later)] =
            favouriteSlotOfItem_[static_cast<size_t>(later) + 1];
    }
    favouriteSlotOfItem_[static_cast<size_t>(favouriteCount_)] = kNoSlot;
    --favouriteCount_;
    Select(0);
}
