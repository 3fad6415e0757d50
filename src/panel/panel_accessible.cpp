#include "panel/panel_accessible.h"

#include "panel/accessible_names.h"
#include "panel/option_label.h"
#include "panel/picture_button.h"
#include "panel/video_slider.h"
#include "platform/pressable_accessible.h"

#include <QAccessibleWidget>

namespace {

class PictureButtonAccessible : public PressableAccessible<PictureButton> {
public:
    explicit PictureButtonAccessible(PictureButton* b)
        : PressableAccessible(b, b->index() < 0 ? QAccessible::Graphic : QAccessible::Button)
    {
    }
    bool indicator() const { return control()->index() < 0; }

    QString text(QAccessible::Text t) const override
    {
        const SharedState* st = control()->state_source();
        const bool on = control()->picture_name().contains(QLatin1String("_connect_on_"));
        switch (t) {
        case QAccessible::Name:
            if (indicator())
                return access::connection_name();
            return st ? access::button_name(control()->index(), *st) : QString();
        case QAccessible::Description:
            if (indicator())
                return access::connection_description(on);
            return st ? access::button_description(control()->index(), *st) : QString();
        default:
            return QAccessibleWidget::text(t);
        }
    }

protected:
    std::optional<bool> checked() const override
    {
        const SharedState* st = control()->state_source();
        return st ? access::button_checked(control()->index(), *st) : std::nullopt;
    }
    bool pressable() const override { return !indicator(); }
};

class OptionLabelAccessible : public PressableAccessible<OptionLabel> {
public:
    explicit OptionLabelAccessible(OptionLabel* l) : PressableAccessible(l, QAccessible::RadioButton) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? access::option_name(control()->index()) : QAccessibleWidget::text(t);
    }

protected:
    std::optional<bool> checked() const override { return control()->chosen(); }
};

// The value heard is the thumb's place from the left end, so "Increase"
// and a larger value both mean further to the right on every slider.
class VideoSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit VideoSliderAccessible(VideoSlider* s) : QAccessibleWidget(s, QAccessible::Slider) {}
    VideoSlider* slider() const { return static_cast<VideoSlider*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: return access::slider_name(slider()->index());
        case QAccessible::Value: return QString::number(slider()->thumb_position());
        default: return QAccessibleWidget::text(t);
        }
    }
    QStringList actionNames() const override
    {
        return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name == increaseAction())
            slider()->step_thumb(1);
        else if (name == decreaseAction())
            slider()->step_thumb(-1);
        else
            QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        if (name == increaseAction())
            return {QStringLiteral("Right")};
        if (name == decreaseAction())
            return {QStringLiteral("Left")};
        return {};
    }

    QVariant currentValue() const override { return slider()->thumb_position(); }
    void setCurrentValue(const QVariant& value) override { slider()->set_thumb_position(value.toInt()); }
    QVariant maximumValue() const override { return slider()->thumb_span(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return slider()->singleStep(); }
};

}  // namespace

QAccessibleInterface* panel_accessible_factory(const QString& class_name, QObject* object)
{
    if (class_name == QLatin1String("PictureButton"))
        return new PictureButtonAccessible(static_cast<PictureButton*>(object));
    if (class_name == QLatin1String("OptionLabel"))
        return new OptionLabelAccessible(static_cast<OptionLabel*>(object));
    if (class_name == QLatin1String("VideoSlider"))
        return new VideoSliderAccessible(static_cast<VideoSlider*>(object));
    return nullptr;
}

void install_panel_accessibility()
{
    // Qt keeps each factory once, however often it is installed.
    QAccessible::installFactory(panel_accessible_factory);
}
