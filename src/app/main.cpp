// qv742-panel: the control panel of the QV-742 scan converter.

#include "app/command_line.h"
#include "app/single_instance.h"
#include "core/shared_state.h"
#include "link/clock.h"
#include "link/system_serial_port.h"
#include "platform/fonts.h"
#include "platform/picture_store.h"
#include "platform/system_desktop.h"
#include "platform/termination.h"
#include "window/frm_main.h"
#include "window/settings_file.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

namespace {

// The bmp folder beside the program, else the installed data folder.
QString bmp_folder()
{
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bmp"));
    if (QFileInfo(beside).isDir())
        return beside;
    const QString installed = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                     QStringLiteral("qv742/bmp"), QStandardPaths::LocateDirectory);
    return installed.isEmpty() ? beside : installed;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qv742-panel"));
    QCoreApplication::setOrganizationName(QStringLiteral("qv742"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QV742_VERSION));

    const PanelOptions options = parse_panel_options(QCoreApplication::arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "qv742-panel: %s\nTry 'qv742-panel --help'.\n", qPrintable(options.error));
        return 2;
    }
    if (options.show_help) {
        std::printf("%s", qPrintable(options.help_text));
        return 0;
    }
    if (options.show_version) {
        std::printf("qv742-panel %s\n", QV742_VERSION);
        return 0;
    }

    SingleInstance instance;
    if (!instance.acquire())
        return 0;  // another panel drives the box

    install_font_substitutes();
    SharedState state;
    SteadyClock clock;
    SystemSerialPort port;
    port.set_device(1, options.com1);
    port.set_device(2, options.com2);
    SystemDesktop desktop;
    PictureStore pictures;

    PanelEnvironment env;
    env.st = &state;
    env.port = &port;
    env.clock = &clock;
    env.desktop = &desktop;
    env.pictures = &pictures;
    env.bmp_dir = bmp_folder();
    env.settings_path = settings_location(QCoreApplication::applicationDirPath());

    FrmMain panel(env);
    // The panel may be hidden (tray, magnifier) while other windows close:
    // the program ends when the panel has shut down, not before.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&panel, &FrmMain::finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    on_termination_request(&panel, [&panel] { panel.close(); });
    panel.start();
    return app.exec();
}
