#pragma once

#include <QAccessibleInterface>
#include <QPointer>

class PanelAccessibility;

// A value the shown screen paints that is no button (an alarm tile, a maintenance value): a
// read-only text named after what it is, with what it shows as its value and description, which
// is how AT-SPI passes a label's changing text on.
class PaintedTextAccessible : public QAccessibleInterface {
public:
    PaintedTextAccessible(PanelAccessibility& panel, int index) : panel_(&panel), index_(index) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override;

private:
    QPointer<PanelAccessibility> panel_;
    int index_;
};
