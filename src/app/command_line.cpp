#include "app/command_line.h"

#include "link/system_serial_port.h"

#include <QCommandLineParser>

PanelOptions parse_panel_options(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Scan Converter: the control panel of the QV-742 scan converter, attached\n"
        "by a serial line. The panel's COM1 and COM2 buttons choose between two\n"
        "serial devices; hold a button down to choose its device from a menu.\n"
        "The port in use, skin, window position and stacking are kept in\n"
        "QVR_742.ini, the chosen devices in QVR_742_devices.ini beside it: beside\n"
        "the program when its folder can be written, else in\n"
        "~/.config/qv742/qv742-panel/.\n"
        "Example: qv742-panel --com1 /dev/ttyUSB0");
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
    const QCommandLineOption com1("com1", QStringLiteral("Serial device used as COM1 for this run, in place of the "
                                                         "one chosen in the panel (default %1).")
                                              .arg(SystemSerialPort::default_device(1)), "DEVICE");
    const QCommandLineOption com2("com2", QStringLiteral("Serial device used as COM2 for this run, in place of the "
                                                         "one chosen in the panel (default %1).")
                                              .arg(SystemSerialPort::default_device(2)), "DEVICE");
    parser.addOptions({help, version, com1, com2});

    PanelOptions options;
    options.help_text = parser.helpText();
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return options;
    }
    options.show_help = parser.isSet(help);
    options.show_version = parser.isSet(version);
    options.com1_given = parser.isSet(com1);
    options.com2_given = parser.isSet(com2);
    options.com1 = parser.value(com1);
    options.com2 = parser.value(com2);
    if ((parser.isSet(com1) && options.com1.isEmpty()) || (parser.isSet(com2) && options.com2.isEmpty()))
        options.error = QStringLiteral("A device path must not be empty.");
    return options;
}
