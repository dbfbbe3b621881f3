#pragma once

#include "PaintedChildAccessible.h"

class PanelAccessibility;

// A value the shown screen paints that is no button (an alarm tile, a maintenance value): a
// read-only text named after what it is, with what it shows as its value and description, which
// is how AT-SPI passes a label's changing text on.
class PaintedTextAccessible : public PaintedChildAccessible {
public:
    PaintedTextAccessible(PanelAccessibility& panel, int index)
        : PaintedChildAccessible(panel), index_(index) {}

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override;

private:
    int index_;
};
