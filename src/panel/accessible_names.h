#pragma once
// What assistive technology hears for the panel's controls: a name that says
// what a control does, the state a button shows, and the order in which the
// keyboard visits the controls. Pure, no widgets.

#include <QString>
#include <optional>
#include <vector>

struct SharedState;

namespace access {

// Name of button `ind` ("Power", "Move picture"); empty where there is none.
QString button_name(int ind, const SharedState& st);

// Whether button `ind` shows a two-way state, and if so whether it is on.
// Nothing for buttons that only act (the aspect ratio tells its three
// settings in its description instead).
std::optional<bool> button_checked(int ind, const SharedState& st);

// The hover caption as the user reads it ("Aspect-Pan&Scan"); empty where
// the button has none.
QString button_description(int ind, const SharedState& st);

// Value label `i` of the option page, with its line: "Test Pattern: On".
QString option_name(int i);

// Video slider `i`, after the caption above it: "Contrast".
QString slider_name(int i);

// The connection indicator.
QString connection_name();
QString connection_description(bool on);

// A control the keyboard can reach.
struct FocusStop {
    enum Kind { Button, Option, Slider } kind;
    int index;
    bool operator==(const FocusStop& o) const { return kind == o.kind && index == o.index; }
};

// Every control of every page in reading order: each page's own controls
// left to right and top to bottom, then its return button, the COM buttons
// and the window column (close, minimise, tray, about). A page shows a
// subset; Tab skips what is hidden or disabled.
const std::vector<FocusStop>& reading_order();

}  // namespace access
