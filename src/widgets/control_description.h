#pragma once
// What assistive technology hears of a control whose meaning depends on what
// it stands for: its name, a description, and the two-way setting it shows.
// The control asks whoever placed it; it knows none of it itself.

#include <QString>
#include <optional>

struct ControlDescription {
    QString name;
    QString description;
    std::optional<bool> checked;  // empty: it shows no setting
};
