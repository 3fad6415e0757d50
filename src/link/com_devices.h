#pragma once
// Which device stands behind COM1 and COM2: the command line's for this run,
// else the one chosen in the panel, else a sensible default. Worked out
// again before every open, since adapters come and go.

#include "link/device_choice.h"
#include "link/device_list.h"

#include <QString>

class ComDevices {
public:
    ComDevices(DeviceList& list, const QString& default_com1, const QString& default_com2);

    DeviceList& list() { return list_; }

    // --com1 / --com2: for this run, ahead of the remembered choice.
    void set_override(int com, const QString& path);
    // Remembered from an earlier run.
    void set_chosen(int com, const QString& name);
    // Chosen in the panel now: it replaces the command line's device too.
    void choose(int com, const QString& name);
    QString chosen(int com) const;

    // Works the device out anew with what is present now.
    const DeviceResolution& resolve(int com);
    // The last result of resolve().
    const DeviceResolution& resolution(int com) const;
    // What to wait for while COM<com> is closed: the chosen device when it
    // is missing (the default stands in only meanwhile), else its device.
    QString awaited(int com) const;

private:
    struct Entry {
        QString override_path;
        QString chosen;
        QString default_path;
        DeviceResolution last;
    };
    Entry& entry(int com) { return com == 2 ? com2_ : com1_; }
    const Entry& entry(int com) const { return com == 2 ? com2_ : com1_; }

    DeviceList& list_;
    Entry com1_;
    Entry com2_;
};
