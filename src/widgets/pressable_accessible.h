#pragma once
// What assistive technology sees of a skinned control whose one action is a
// press: the press runs the control's own click path (its activate_later()),
// and a control that shows a setting can report it as checked.

#include <QAccessibleWidget>
#include <optional>

template <class Control>
class PressableAccessible : public QAccessibleWidget {
public:
    PressableAccessible(Control* control, QAccessible::Role role) : QAccessibleWidget(control, role) {}
    Control* control() const { return static_cast<Control*>(widget()); }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (const std::optional<bool> on = checked()) {
            s.checkable = true;
            s.checked = *on;
        }
        return s;
    }
    QStringList actionNames() const override
    {
        if (!pressable())
            return {};
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (pressable() && name == pressAction())
            control()->activate_later();
        else
            QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        return pressable() && name == pressAction() ? QStringList{QStringLiteral("Space")} : QStringList();
    }

protected:
    // Empty: the control shows no setting.
    virtual std::optional<bool> checked() const { return std::nullopt; }
    virtual bool pressable() const { return true; }
};
