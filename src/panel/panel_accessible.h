#pragma once
// The panel's own controls as assistive technology sees them: picture
// buttons are push buttons (checkable where they show a state), option
// values are radio buttons, the video sliders are sliders whose "Increase"
// moves the thumb to the right. Their actions run what a click or a key runs.

class QAccessibleInterface;
class QObject;
class QString;

QAccessibleInterface* panel_accessible_factory(const QString& class_name, QObject* object);

// Registers the factory once per program.
void install_panel_accessibility();
