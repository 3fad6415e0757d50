#pragma once
// Serial devices the test plugs and unplugs by hand. Plugging in the awaited
// device tells the watch at once, as a notice from the system would.

#include "link/device_choice.h"
#include "link/device_list.h"

#include <QMap>
#include <set>

class FakeDeviceList : public DeviceList {
public:
    QList<SerialDeviceInfo> devices() override { return listed; }
    bool exists(const QString& path) override { return paths.count(path) || find_device(listed, path) >= 0; }
    QString problem_with(const QString& path) override
    {
        return problems.value(path, exists(path) ? QString() : path + QStringLiteral(" does not exist."));
    }
    void watch(const QString& path, std::function<void()> present) override
    {
        watched = path, on_present = std::move(present);
    }

    void plug(const SerialDeviceInfo& device)
    {
        listed << device;
        if (on_present && exists(watched))
            on_present();
    }
    void unplug(const QString& name)
    {
        if (const int i = find_device(listed, name); i >= 0)
            listed.removeAt(i);
    }

    QList<SerialDeviceInfo> listed;
    std::set<QString> paths;          // openable but not listed (a pty)
    QMap<QString, QString> problems;  // what problem_with() says of a path
    QString watched;                  // empty: not watching
    std::function<void()> on_present;
};

inline SerialDeviceInfo usb_adapter(const QString& path, const QString& serial)
{
    return {path, QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_%1-if00-port0").arg(serial),
            QStringLiteral("FT232R USB UART"), QStringLiteral("FTDI"), true};
}

const SerialDeviceInfo kBuiltIn{QStringLiteral("/dev/ttyS0"), {}, {}, {}, false};  // a real port, listed
const SerialDeviceInfo kFtdi = usb_adapter(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("A10"));
