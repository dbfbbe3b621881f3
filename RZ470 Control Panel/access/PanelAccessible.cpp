#include "PanelAccessible.h"

#include "PanelAccessibility.h"

#include <QWidget>

PanelAccessible::PanelAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Dialog) {}

PanelAccessibility* PanelAccessible::Panel() const {
    return widget()->findChild<PanelAccessibility*>(QString(), Qt::FindDirectChildrenOnly);
}

int PanelAccessible::PaintedCount() const {
    const PanelAccessibility* panel = Panel();
    return panel != nullptr ? panel->ChildCount() : 0;
}

int PanelAccessible::childCount() const {
    return PaintedCount() + QAccessibleWidget::childCount();
}

QAccessibleInterface* PanelAccessible::child(int index) const {
    const int painted = PaintedCount();
    if (index < 0) {
        return nullptr;
    }
    return index < painted ? Panel()->Child(index) : QAccessibleWidget::child(index - painted);
}

int PanelAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (const PanelAccessibility* panel = Panel()) {
        const int index = panel->IndexOf(child);
        if (index >= 0) {
            return index;
        }
    }
    const int widgetIndex = QAccessibleWidget::indexOfChild(child);
    return widgetIndex < 0 ? -1 : PaintedCount() + widgetIndex;
}

QAccessibleInterface* PanelAccessible::childAt(int x, int y) const {
    // The real child widgets lie over the painting.
    for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
        QAccessibleInterface* onWidget = QAccessibleWidget::child(i);
        if (onWidget != nullptr && !onWidget->state().invisible && onWidget->rect().contains(x, y)) {
            return onWidget;
        }
    }
    PanelAccessibility* panel = Panel();
    if (panel == nullptr) {
        return nullptr;
    }
    const int index = panel->IndexAt(widget()->mapFromGlobal(QPoint(x, y)));
    return index >= 0 ? panel->Child(index) : nullptr;
}

QAccessibleInterface* PanelAccessible::focusChild() const {
    if (PanelAccessibility* panel = Panel()) {
        const int index = panel->FocusedIndex();
        if (index >= 0) {
            return panel->Child(index);
        }
    }
    return QAccessibleWidget::focusChild();
}
