#include "magnifier/strip_accessible.h"

#include "magnifier/strip_button.h"

#include "widgets/pressable_accessible.h"

namespace {

class StripButtonAccessible : public PressableAccessible<StripButton> {
public:
    explicit StripButtonAccessible(StripButton* b) : PressableAccessible(b, QAccessible::Button) {}

    // The name is set by the window that knows what the button does; the
    // tooltip ("x 1.5") describes it.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return control()->toolTip();
        return QAccessibleWidget::text(t);
    }

protected:
    std::optional<bool> checked() const override
    {
        return control()->toggle() ? std::optional<bool>(control()->chosen()) : std::nullopt;
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
