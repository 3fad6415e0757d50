#pragma once
// The magnifier's strip buttons to assistive technology: push buttons named
// after what they do, the toggles checkable, with a press action that clicks.

class QAccessibleInterface;
class QObject;
class QString;

QAccessibleInterface* strip_accessible_factory(const QString& class_name, QObject* object);

// Registers the factory once per program.
void install_strip_accessibility();
