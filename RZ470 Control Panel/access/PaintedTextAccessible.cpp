#include "PaintedTextAccessible.h"

#include "ButtonRow.h"
#include "PanelAccessibility.h"

#include <QWidget>

bool PaintedTextAccessible::isValid() const {
    return panel_ != nullptr && panel_->Text(index_) != nullptr;
}

QString PaintedTextAccessible::text(QAccessible::Text t) const {
    const ShownText* shown = panel_ != nullptr ? panel_->Text(index_) : nullptr;
    if (shown == nullptr) {
        return {};
    }
    switch (t) {
        case QAccessible::Name:
            return shown->label ? shown->label() : QString();
        case QAccessible::Value:
        case QAccessible::Description:
            return shown->value ? shown->value() : QString();
        default:
            return {};
    }
}

QRect PaintedTextAccessible::rect() const {
    const ShownText* shown = panel_ != nullptr ? panel_->Text(index_) : nullptr;
    if (shown == nullptr) {
        return {};
    }
    const QRect rect = shown->region.rect();
    return QRect(panel_->window().mapToGlobal(rect.topLeft()), rect.size());
}

QAccessible::State PaintedTextAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.invisible = !panel_->window().isVisible();
    state.readOnly = true;
    return state;
}
