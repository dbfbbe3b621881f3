#include "PaintedButtonAccessible.h"

#include "ButtonRow.h"
#include "PanelAccessibility.h"

#include <QRegularExpression>
#include <QWidget>

bool PaintedButtonAccessible::isValid() const {
    return panel_ != nullptr && panel_->Row(id_) != nullptr;
}

QString PaintedButtonAccessible::text(QAccessible::Text t) const {
    const ButtonRow* row = panel_ != nullptr ? panel_->Row(id_) : nullptr;
    if (row == nullptr) {
        return {};
    }
    switch (t) {
        case QAccessible::Name:
            return AccessibleName(*row);
        case QAccessible::Value:
            return AccessibleValue(*row);
        default:
            return {};
    }
}

QRect PaintedButtonAccessible::rect() const {
    return panel_ != nullptr ? panel_->ScreenRect(id_) : QRect();
}

QAccessible::Role PaintedButtonAccessible::role() const {
    const ButtonRow* row = panel_ != nullptr ? panel_->Row(id_) : nullptr;
    return row != nullptr && row->access.role == ButtonAccess::Role::Toggle ? QAccessible::CheckBox
                                                                            : QAccessible::Button;
}

QAccessible::State PaintedButtonAccessible::state() const {
    if (panel_ == nullptr) {
        QAccessible::State gone;
        gone.invalid = true;
        return gone;
    }
    return panel_->State(id_);
}

void* PaintedButtonAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface) {
        return static_cast<QAccessibleActionInterface*>(this);
    }
    if (type == QAccessible::ValueInterface && Number().isValid()) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return nullptr;
}

QStringList PaintedButtonAccessible::actionNames() const {
    if (role() == QAccessible::CheckBox) {
        return {pressAction(), toggleAction()};
    }
    return {pressAction()};
}

void PaintedButtonAccessible::doAction(const QString& actionName) {
    if (panel_ != nullptr && actionNames().contains(actionName)) {
        panel_->Press(id_);
    }
}

QStringList PaintedButtonAccessible::keyBindingsForAction(const QString& actionName) const {
    return actionNames().contains(actionName) ? QStringList{QStringLiteral("Space")} : QStringList{};
}

QVariant PaintedButtonAccessible::currentValue() const {
    return Number();
}

QVariant PaintedButtonAccessible::Number() const {
    static const QRegularExpression leadingNumber(QStringLiteral("^\\d+(\\.\\d+)?"));
    const QRegularExpressionMatch match = leadingNumber.match(text(QAccessible::Value));
    return match.hasMatch() ? QVariant(match.captured().toDouble()) : QVariant();
}
