#pragma once

#include <QAccessibleInterface>
#include <QPointer>

class PanelAccessibility;

// What every painted child of the panel's window shares: no object or children of its own, the
// panel's window as parent, and texts that only the screen sets.
class PaintedChildAccessible : public QAccessibleInterface {
public:
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    explicit PaintedChildAccessible(PanelAccessibility& panel) : panel_(&panel) {}

    QPointer<PanelAccessibility> panel_;
};
