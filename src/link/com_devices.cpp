#include "link/com_devices.h"

ComDevices::ComDevices(DeviceList& list, const QString& default_com1, const QString& default_com2)
    : list_(list)
{
    com1_.default_path = default_com1;
    com2_.default_path = default_com2;
    com1_.last.path = default_com1;
    com2_.last.path = default_com2;
}

void ComDevices::set_override(int com, const QString& path)
{
    entry(com).override_path = path;
}

void ComDevices::set_chosen(int com, const QString& name)
{
    entry(com).chosen = name;
}

void ComDevices::choose(int com, const QString& name)
{
    entry(com).override_path.clear();
    entry(com).chosen = name;
}

QString ComDevices::chosen(int com) const
{
    return entry(com).chosen;
}

const DeviceResolution& ComDevices::resolve(int com)
{
    Entry& e = entry(com);
    const Entry& other = entry(com == 2 ? 1 : 2);
    const DeviceWishes wishes{com, e.override_path, e.chosen, e.default_path,
                              other.override_path.isEmpty() ? other.chosen : other.override_path};
    const auto exists = [this](const QString& path) { return list_.exists(path); };
    // Listing the devices takes the system some milliseconds: only when the
    // command line or a chosen device that is there does not settle it.
    const bool settled = !e.override_path.isEmpty() || (!e.chosen.isEmpty() && exists(e.chosen));
    e.last = resolve_device(wishes, settled ? QList<SerialDeviceInfo>() : list_.devices(), exists);
    return e.last;
}

const DeviceResolution& ComDevices::resolution(int com) const
{
    return entry(com).last;
}

QString ComDevices::awaited(int com) const
{
    const Entry& e = entry(com);
    if (e.last.source != DeviceResolution::Source::CommandLine && !e.chosen.isEmpty()
        && e.last.path != e.chosen)
        return e.chosen;
    return e.last.path;
}
