#include "link/device_choice.h"

#include <QFileInfo>

namespace {

QString describe(const QList<SerialDeviceInfo>& devices, const QString& name)
{
    const int i = find_device(devices, name);
    return i < 0 ? name : device_label(devices[i]);
}

}  // namespace

int find_device(const QList<SerialDeviceInfo>& devices, const QString& name)
{
    if (name.isEmpty())
        return -1;
    for (int i = 0; i < devices.size(); ++i)
        if (devices[i].path == name || devices[i].stable_name == name)
            return i;
    return -1;
}

QString remembered_name(const SerialDeviceInfo& device)
{
    return device.stable_name.isEmpty() ? device.path : device.stable_name;
}

QString device_label(const SerialDeviceInfo& device)
{
    QString what = device.description.trimmed();
    const QString maker = device.manufacturer.trimmed();
    if (what.isEmpty())
        what = device.usb ? QStringLiteral("USB serial device") : QStringLiteral("Serial port");
    if (!maker.isEmpty() && !what.contains(maker, Qt::CaseInsensitive))
        what += QStringLiteral(", ") + maker;
    QString label = what + QStringLiteral(" \u2014 ") + device.path;
    if (!device.stable_name.isEmpty())
        label += QStringLiteral(" \u2014 ") + QFileInfo(device.stable_name).fileName();
    return label;
}

DeviceResolution resolve_device(const DeviceWishes& w, const QList<SerialDeviceInfo>& devices,
                                const std::function<bool(const QString&)>& exists)
{
    using Source = DeviceResolution::Source;
    if (!w.override_path.isEmpty())
        return {w.override_path, Source::CommandLine, QString(), false};
    if (!w.chosen.isEmpty() && exists(w.chosen))
        return {w.chosen, Source::Chosen, QString(), false};

    const QString com = QStringLiteral("COM%1").arg(w.com);
    DeviceResolution r{w.default_path, Source::Default, QString(), !w.chosen.isEmpty()};
    const QString missing = w.chosen.isEmpty()
        ? QString()
        : QStringLiteral("The device chosen for ") + com + QStringLiteral(", ") + w.chosen
            + QStringLiteral(", is not there. ");
    const QString until_back = missing.isEmpty() ? QString()
                                                 : missing + QStringLiteral("Using ") + w.default_path
            + QStringLiteral(" until it is back.");
    // A default with a real port behind it is listed; one without is not.
    if (find_device(devices, w.default_path) >= 0) {
        r.note = until_back;
        return r;
    }
    QList<SerialDeviceInfo> adapters;
    for (const SerialDeviceInfo& d : devices)
        if (d.usb && d.path != w.taken && (d.stable_name.isEmpty() || d.stable_name != w.taken))
            adapters << d;
    if (adapters.size() == 1) {
        r.path = remembered_name(adapters.first());
        r.source = Source::OnlyAdapter;
        r.note = missing + QStringLiteral("Using the only USB serial device, as ") + w.default_path
            + QStringLiteral(" has no serial port behind it.");
        return r;
    }
    if (adapters.size() > 1) {
        r.note = missing + QString::number(adapters.size())
            + QStringLiteral(" USB serial devices are plugged in: choose the one for ") + com
            + QStringLiteral(" from the ") + com + QStringLiteral(" button's menu.");
        r.warning = true;
        return r;
    }
    r.note = until_back;
    return r;
}

QString com_tooltip(int com, const DeviceResolution& r, const QList<SerialDeviceInfo>& devices)
{
    QString text = QStringLiteral("COM%1: ").arg(com) + describe(devices, r.path);
    if (r.source == DeviceResolution::Source::CommandLine)
        text += QStringLiteral(" (given on the command line)");
    if (!r.note.isEmpty())
        text += QStringLiteral("\n") + r.note;
    text += QStringLiteral("\nTo choose another device, hold the button down or press the menu key on it.");
    return text;
}
