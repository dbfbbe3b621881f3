#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QAccessibleValueInterface>
#include <QPointer>

class PanelAccessibility;

// One painted button of the shown screen: a push button, or a check box for the switches. Its
// texts and state are read from the screen's table when asked for; its press runs the mouse's
// press and release at the button's centre. A value whose text starts with a number is also
// offered as a (read-only) number, which is how AT-SPI passes values on.
class PaintedButtonAccessible : public QAccessibleInterface,
                                public QAccessibleActionInterface,
                                public QAccessibleValueInterface {
public:
    PaintedButtonAccessible(PanelAccessibility& panel, int id) : panel_(&panel), id_(id) {}

    int ButtonId() const { return id_; }

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

    QPointer<PanelAccessibility> panel_;
    int id_;
};
