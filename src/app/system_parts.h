#pragma once
// What the panel runs on in a real program: the shared state, the serial
// port and the devices behind it, the clock, the desktop and the pictures,
// and the environment that points the panel window at them. The program and the tools that run the
// real panel (screenshots, soak) build it the same way.

#include "core/shared_state.h"
#include "link/clock.h"
#include "link/com_devices.h"
#include "link/system_device_list.h"
#include "link/system_serial_port.h"
#include "platform/picture_store.h"
#include "platform/system_desktop.h"
#include "window/frm_main.h"

struct SystemParts {
    SharedState state;
    SteadyClock clock;
    SystemSerialPort port;
    SystemDeviceList devices;
    ComDevices com_devices{devices, SystemSerialPort::default_device(1), SystemSerialPort::default_device(2)};
    SystemDesktop desktop;
    PictureStore pictures;

    PanelEnvironment environment(const QString& bmp_dir, const QString& settings_path)
    {
        PanelEnvironment env;
        env.st = &state;
        env.port = &port;
        env.clock = &clock;
        env.desktop = &desktop;
        env.pictures = &pictures;
        env.com_devices = &com_devices;
        env.bmp_dir = bmp_dir;
        env.settings_path = settings_path;
        return env;
    }
};
