#include "PanelAccessibility.h"

#include "ButtonRow.h"
#include "KeyboardFocus.h"
#include "PaintedButtonAccessible.h"
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
    for (const QAccessible::Id id : interfaces_) {
        if (id != 0) {
            QAccessible::deleteAccessibleInterface(id);
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

QAccessibleInterface* PanelAccessibility::Button(int index) {
    if (index < 0 || index >= ButtonCount()) {
        return nullptr;
    }
    QAccessible::Id& id = interfaces_[static_cast<size_t>(index)];
    if (id == 0) {
        id = QAccessible::registerAccessibleInterface(
            new PaintedButtonAccessible(*this, order_[static_cast<size_t>(index)]));
    }
    return QAccessible::accessibleInterface(id);
}

int PanelAccessibility::IndexOf(const QAccessibleInterface* button) const {
    for (size_t index = 0; index < interfaces_.size(); ++index) {
        if (interfaces_[index] != 0 && QAccessible::accessibleInterface(interfaces_[index]) == button) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

int PanelAccessibility::IndexAt(QPoint windowPoint) const {
    const int id = FindButton(router_.ShownScreen().Buttons(), windowPoint.x(), windowPoint.y());
    const auto at = std::find(order_.begin(), order_.end(), id);
    return at == order_.end() ? -1 : static_cast<int>(at - order_.begin());
}

int PanelAccessibility::FocusedIndex() const {
    if (!keyboardFocus_.IsRingShown() || !window_.hasFocus()) {
        return -1;
    }
    const auto at = std::find(order_.begin(), order_.end(), keyboardFocus_.FocusedButton());
    return at == order_.end() ? -1 : static_cast<int>(at - order_.begin());
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
    for (size_t index = 0; index < order_.size(); ++index) {
        const Told now = Describe(order_[index]);
        Told& before = told_[index];
        if (listened) {
            QAccessibleInterface* button = Button(static_cast<int>(index));
            if (now.name != before.name) {
                QAccessibleEvent event(button, QAccessible::NameChanged);
                Send(event);
            }
            // AT-SPI passes on value changes only of what offers a number.
            if (now.value != before.value && button->valueInterface() != nullptr) {
                QAccessibleValueChangeEvent event(button, button->valueInterface()->currentValue());
                Send(event);
            }
            QAccessible::State changed;
            changed.checked = now.checked != before.checked;
            changed.pressed = now.pressed != before.pressed;
            if (changed.checked || changed.pressed) {
                QAccessibleStateChangeEvent event(button, changed);
                Send(event);
            }
        }
        before = now;
    }
    if (focusPending_) {
        focusPending_ = false;
        const int index = FocusedIndex();
        if (listened && index >= 0) {
            QAccessibleEvent event(Button(index), QAccessible::Focus);
            Send(event);
        }
    }
}

void PanelAccessibility::ScreenChanged() {
    DropButtons();
    order_ = router_.ShownScreen().ReadingOrder();
    interfaces_.assign(order_.size(), 0);
    told_.clear();
    for (const int id : order_) {
        told_.push_back(Describe(id));
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
    for (QAccessible::Id& id : interfaces_) {
        if (id == 0) {
            continue;
        }
        if (listened) {
            QAccessibleEvent event(QAccessible::accessibleInterface(id), QAccessible::ObjectDestroyed);
            Send(event);
        }
        QAccessible::deleteAccessibleInterface(id);
        id = 0;
    }
}

PanelAccessibility::Told PanelAccessibility::Describe(int id) const {
    const ButtonRow* row = Row(id);
    if (row == nullptr) {
        return {};
    }
    return {AccessibleName(*row), AccessibleValue(*row), IsChecked(*row), router_.HeldButton() == id};
}

void PanelAccessibility::Send(QAccessibleEvent& event) {
    if (listener_) {
        listener_(event);
    }
    QAccessible::updateAccessibility(&event);
}
