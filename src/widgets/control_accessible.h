#pragma once
// The skinned controls as assistive technology sees them: picture buttons
// are push buttons (checkable where they show a state; a picture without an
// index is a graphic), option values are radio buttons, the video sliders
// are sliders whose "Increase" moves the thumb to the right. Their actions
// run what a click or a key runs. Names come from whoever placed them.

class QAccessibleInterface;
class QObject;
class QString;

QAccessibleInterface* control_accessible_factory(const QString& class_name, QObject* object);

// Registers the factory once per program.
void install_control_accessibility();
