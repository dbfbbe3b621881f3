#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>

#include "PaintedChildAccessible.h"

class PanelAccessibility;

// One painted button of the shown screen: a push button, or a check box for the switches. Its
// texts and state are read from the screen's table when asked for; its press runs the mouse's
// press and release at the button's centre. A value whose text starts with a number is also
// offered as a (read-only) number, which is how AT-SPI passes values on.
class PaintedButtonAccessible : public PaintedChildAccessible,
                                public QAccessibleActionInterface,
                                public QAccessibleValueInterface {
public:
    PaintedButtonAccessible(PanelAccessibility& panel, int id) : PaintedChildAccessible(panel), id_(id) {}

    int ButtonId() const { return id_; }

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return {}; }
    QVariant minimumValue() const override { return {}; }
    QVariant minimumStepSize() const override { return {}; }

private:
    // The number the value text starts with, if it does.
    QVariant Number() const;

    int id_;
};
