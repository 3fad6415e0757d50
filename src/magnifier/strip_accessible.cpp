#include "magnifier/strip_accessible.h"

#include "magnifier/strip_button.h"

#include <QAccessibleWidget>

namespace {

class StripButtonAccessible : public QAccessibleWidget {
public:
    explicit StripButtonAccessible(StripButton* b) : QAccessibleWidget(b, QAccessible::Button) {}
    StripButton* button() const { return static_cast<StripButton*>(widget()); }

    // The name is set by the window that knows what the button does; the
    // tooltip ("x 1.5") describes it.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return button()->toolTip();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (button()->toggle()) {
            s.checkable = true;
            s.checked = button()->chosen();
        }
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            button()->activate_later();
        else
            QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        return name == pressAction() ? QStringList{QStringLiteral("Space")} : QStringList();
    }
};

}  // namespace

QAccessibleInterface* strip_accessible_factory(const QString& class_name, QObject* object)
{
    if (class_name == QLatin1String("StripButton"))
        return new StripButtonAccessible(static_cast<StripButton*>(object));
    return nullptr;
}

void install_strip_accessibility()
{
    QAccessible::installFactory(strip_accessible_factory);
}
