#pragma once

#include <QAccessibleWidget>

class PanelAccessibility;

// The panel window as assistive technology sees it: a dialog whose children are the painted
// values and buttons of the shown screen, in reading order, followed by its real child widgets
// (the sliders and the favourites list).
class PanelAccessible : public QAccessibleWidget {
public:
    explicit PanelAccessible(QWidget* window);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    // Looked up when needed: Qt may ask for the window's interface before the window has made it.
    PanelAccessibility* Panel() const;
    int PaintedCount() const;
};
