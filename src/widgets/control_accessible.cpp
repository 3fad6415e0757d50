#include "widgets/control_accessible.h"

#include "widgets/option_label.h"
#include "widgets/picture_button.h"
#include "widgets/pressable_accessible.h"
#include "widgets/video_slider.h"

#include <QAccessibleWidget>

namespace {

class PictureButtonAccessible : public PressableAccessible<PictureButton> {
public:
    explicit PictureButtonAccessible(PictureButton* b)
        : PressableAccessible(b, b->index() < 0 ? QAccessible::Graphic : QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: return control()->describe().name;
        case QAccessible::Description: return control()->describe().description;
        default: return QAccessibleWidget::text(t);
        }
    }

protected:
    std::optional<bool> checked() const override { return control()->describe().checked; }
    bool pressable() const override { return control()->index() >= 0; }
};

class OptionLabelAccessible : public PressableAccessible<OptionLabel> {
public:
    explicit OptionLabelAccessible(OptionLabel* l) : PressableAccessible(l, QAccessible::RadioButton) {}

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
        if (t == QAccessible::Value)
            return QString::number(slider()->thumb_position());
        return QAccessibleWidget::text(t);
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

QAccessibleInterface* control_accessible_factory(const QString& class_name, QObject* object)
{
    if (class_name == QLatin1String("PictureButton"))
        return new PictureButtonAccessible(static_cast<PictureButton*>(object));
    if (class_name == QLatin1String("OptionLabel"))
        return new OptionLabelAccessible(static_cast<OptionLabel*>(object));
    if (class_name == QLatin1String("VideoSlider"))
        return new VideoSliderAccessible(static_cast<VideoSlider*>(object));
    return nullptr;
}

void install_control_accessibility()
{
    // Qt keeps each factory once, however often it is installed.
    QAccessible::installFactory(control_accessible_factory);
}
