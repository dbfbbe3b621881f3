#include "PaintedChildAccessible.h"

#include "PanelAccessibility.h"

#include <QWidget>

QWindow* PaintedChildAccessible::window() const {
    return panel_ != nullptr ? panel_->window().window()->windowHandle() : nullptr;
}

QAccessibleInterface* PaintedChildAccessible::parent() const {
    return panel_ != nullptr ? QAccessible::queryAccessibleInterface(&panel_->window()) : nullptr;
}
