#include "PanelAccessibility.h"

#include "ButtonRow.h"
#include "KeyboardFocus.h"
#include "PaintedButtonAccessible.h"
#include "PaintedTextAccessible.h"
#include "PanelAccessible.h"
#include "Screen.h"
#include "ScreenNavigation.h"

#include <QAccessibleEvent>
#include <QApplication>
#include <QWidget>

#include <algorithm>

PanelAccessibility::PanelAccessibility(QWidget& window, ScreenNavigation& router,
                                       KeyboardFocus& keyboardFocus)
    : QObject(&window), window_(window), router_(router), keyboardFocus_(keyboardFocus) {
    InstallFactory();
    connect(&router_, &ScreenNavigation::ScreenChanged, this, &PanelAccessibility::ScreenChanged);
    connect(&keyboardFocus_, &KeyboardFocus::FocusMoved, this, &PanelAccessibility::FocusMoved);
    ScreenChanged();
}

PanelAccessibility::~PanelAccessibility() {
    for (const std::vector<Known>* children : {&texts_, &buttons_}) {
        for (const Known& known : *children) {
            if (known.id != 0) {
                QAccessible::deleteAccessibleInterface(known.id);
            }
        }
    }
}

void PanelAccessibility::InstallFactory() {
    // Qt keeps one copy of a factory however often it is installed.
    QAccessible::installFactory(&PanelAccessibility::Factory);
}

QAccessibleInterface* PanelAccessibility::Factory(const QString& className, QObject* object) {
    // Asked first with the object's own class, which carries the mark when it is the window's.
    if (object == nullptr || !object->isWidgetType() ||
        className != QLatin1String(object->metaObject()->className()) ||
        object->metaObject()->indexOfClassInfo(kWindowMark) < 0) {
        return nullptr;
    }
    return new PanelAccessible(static_cast<QWidget*>(object));
}

QAccessibleInterface* PanelAccessibility::Interface(Known& known,
                                                    const std::function<QAccessibleInterface*()>& make) {
    if (known.id == 0) {
        known.id = QAccessible::registerAccessibleInterface(make());
    }
    return QAccessible::accessibleInterface(known.id);
}

PanelAccessibility::Known& PanelAccessibility::KnownAt(int index) {
    return index < TextCount() ? texts_[static_cast<size_t>(index)]
                               : buttons_[static_cast<size_t>(index - TextCount())];
}

const PanelAccessibility::Known& PanelAccessibility::KnownAt(int index) const {
    return const_cast<PanelAccessibility*>(this)->KnownAt(index);
}

QAccessibleInterface* PanelAccessibility::Child(int index) {
    if (index < 0 || index >= ChildCount()) {
        return nullptr;
    }
    if (index < TextCount()) {
        return Interface(texts_[static_cast<size_t>(index)],
                         [this, index] { return new PaintedTextAccessible(*this, index); });
    }
    const size_t place = static_cast<size_t>(index - TextCount());
    return Interface(buttons_[place],
                     [this, place] { return new PaintedButtonAccessible(*this, order_[place]); });
}

int PanelAccessibility::IndexOf(const QAccessibleInterface* child) const {
    for (int index = 0; index < ChildCount(); ++index) {
        const Known& known = KnownAt(index);
        if (known.id != 0 && QAccessible::accessibleInterface(known.id) == child) {
            return index;
        }
    }
    return -1;
}

int PanelAccessibility::IndexAt(QPoint windowPoint) const {
    const int id = FindButton(router_.ShownScreen().Buttons(), windowPoint.x(), windowPoint.y());
    const auto at = std::find(order_.begin(), order_.end(), id);
    if (at != order_.end()) {
        return TextCount() + static_cast<int>(at - order_.begin());
    }
    for (int index = 0; index < TextCount(); ++index) {
        const ShownText* shown = Text(index);
        if (shown != nullptr && shown->region.contains(windowPoint.x(), windowPoint.y())) {
            return index;
        }
    }
    return -1;
}

int PanelAccessibility::FocusedIndex() const {
    if (!keyboardFocus_.IsRingShown() || !window_.hasFocus()) {
        return -1;
    }
    const auto at = std::find(order_.begin(), order_.end(), keyboardFocus_.FocusedButton());
    return at == order_.end() ? -1 : TextCount() + static_cast<int>(at - order_.begin());
}

const ShownText* PanelAccessibility::Text(int index) const {
    const ShownTexts& texts = router_.ShownScreen().Texts();
    // The interfaces made for one screen are dropped when another is shown.
    if (index < 0 || index >= TextCount() || index >= static_cast<int>(texts.size())) {
        return nullptr;
    }
    return &texts[static_cast<size_t>(index)];
}

const ButtonRow* PanelAccessibility::Row(int id) const {
    const ButtonTable& table = router_.ShownScreen().Buttons();
    if (id < 0 || id >= static_cast<int>(table.size()) || !IsButton(table[static_cast<size_t>(id)])) {
        return nullptr;
    }
    return &table[static_cast<size_t>(id)];
}

QRect PanelAccessibility::ScreenRect(int id) const {
    const ButtonRow* row = Row(id);
    if (row == nullptr) {
        return {};
    }
    const QRect rect = row->region.rect();
    return QRect(window_.mapToGlobal(rect.topLeft()), rect.size());
}

QAccessible::State PanelAccessibility::State(int id) const {
    QAccessible::State state;
    const ButtonRow* row = Row(id);
    if (row == nullptr) {
        state.invalid = true;
        return state;
    }
    state.invisible = !window_.isVisible();
    state.focusable = true;
    state.focused = keyboardFocus_.FocusedButton() == id && FocusedIndex() >= 0;
    state.pressed = router_.HeldButton() == id;
    if (row->access.role == ButtonAccess::Role::Toggle) {
        state.checkable = true;
        state.checked = IsChecked(*row);
    }
    return state;
}

void PanelAccessibility::Press(int id) {
    const int screenState = router_.ScreenState();
    QMetaObject::invokeMethod(
        this,
        [this, id, screenState] {
            // Not on another screen than the one asked about, and not past a modal dialog, which
            // keeps the mouse off the panel too.
            const QWidget* modal = QApplication::activeModalWidget();
            const ButtonRow* row = Row(id);
            if (router_.ScreenState() != screenState || row == nullptr ||
                (modal != nullptr && modal != &window_)) {
                return;
            }
            const QPoint centre = row->region.centre();
            router_.Press(centre.x(), centre.y());
            router_.Release();
        },
        Qt::QueuedConnection);
}

void PanelAccessibility::SurfaceChanged() {
    if (comparePending_) {
        return;
    }
    comparePending_ = true;
    QMetaObject::invokeMethod(this, &PanelAccessibility::AnnounceChanges, Qt::QueuedConnection);
}

void PanelAccessibility::AnnounceChanges() {
    comparePending_ = false;
    const bool listened = Listened();
    for (int index = 0; index < ChildCount(); ++index) {
        Known& known = KnownAt(index);
        const Told now = index < TextCount() ? DescribeText(index)
                                             : Describe(order_[static_cast<size_t>(index - TextCount())]);
        if (listened) {
            Announce(Child(index), known.told, now);
        }
        known.told = now;
    }
    if (focusPending_) {
        focusPending_ = false;
        const int index = FocusedIndex();
        if (listened && index >= 0) {
            QAccessibleEvent event(Child(index), QAccessible::Focus);
            Send(event);
        }
    }
}

void PanelAccessibility::Announce(QAccessibleInterface* child, const Told& before, const Told& now) {
    if (now.name != before.name) {
        QAccessibleEvent event(child, QAccessible::NameChanged);
        Send(event);
    }
    if (now.value != before.value) {
        if (child->role() == QAccessible::StaticText) {
            // AT-SPI passes a label's new text on as its description.
            QAccessibleEvent described(child, QAccessible::DescriptionChanged);
            Send(described);
            QAccessibleValueChangeEvent event(child, now.value);
            Send(event);
        } else if (child->valueInterface() != nullptr) {
            // AT-SPI passes on value changes only of what offers a number.
            QAccessibleValueChangeEvent event(child, child->valueInterface()->currentValue());
            Send(event);
        }
    }
    QAccessible::State changed;
    changed.checked = now.checked != before.checked;
    changed.pressed = now.pressed != before.pressed;
    if (changed.checked || changed.pressed) {
        QAccessibleStateChangeEvent event(child, changed);
        Send(event);
    }
}

void PanelAccessibility::ScreenChanged() {
    DropButtons();
    order_ = router_.ShownScreen().ReadingOrder();
    texts_.assign(router_.ShownScreen().Texts().size(), Known{});
    buttons_.assign(order_.size(), Known{});
    for (int index = 0; index < TextCount(); ++index) {
        texts_[static_cast<size_t>(index)].told = DescribeText(index);
    }
    for (size_t place = 0; place < order_.size(); ++place) {
        buttons_[place].told = Describe(order_[place]);
    }
    if (Listened()) {
        QAccessibleEvent event(&window_, QAccessible::ObjectReorder);
        Send(event);
    }
}

void PanelAccessibility::FocusMoved(int) {
    // Told once the screen's buttons are known: the ring moves on a screen change before the
    // buttons here follow it.
    focusPending_ = true;
    SurfaceChanged();
}

void PanelAccessibility::DropButtons() {
    const bool listened = Listened();
    for (std::vector<Known>* children : {&texts_, &buttons_}) {
        for (Known& known : *children) {
            if (known.id == 0) {
                continue;
            }
            if (listened) {
                QAccessibleEvent event(QAccessible::accessibleInterface(known.id),
                                       QAccessible::ObjectDestroyed);
                Send(event);
            }
            QAccessible::deleteAccessibleInterface(known.id);
            known.id = 0;
        }
    }
}

PanelAccessibility::Told PanelAccessibility::Describe(int id) const {
    const ButtonRow* row = Row(id);
    if (row == nullptr) {
        return {};
    }
    return {AccessibleName(*row), AccessibleValue(*row), IsChecked(*row), router_.HeldButton() == id};
}

PanelAccessibility::Told PanelAccessibility::DescribeText(int index) const {
    const ShownText* shown = Text(index);
    if (shown == nullptr) {
        return {};
    }
    return {shown->label ? shown->label() : QString(), shown->value ? shown->value() : QString()};
}

void PanelAccessibility::Send(QAccessibleEvent& event) {
    if (listener_) {
        listener_(event);
    }
    QAccessible::updateAccessibility(&event);
}
