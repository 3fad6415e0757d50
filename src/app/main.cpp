// qv742-panel: the control panel of the QV-742 scan converter.

#include "app/come_forward.h"
#include "app/command_line.h"
#include "app/control_server.h"
#include "app/panel_control.h"
#include "app/panel_files.h"
#include "app/platform_choice.h"
#include "app/single_instance.h"
#include "app/system_parts.h"
#include "platform/desktop_file_name.h"
#include "platform/fonts.h"
#include "platform/standard_output.h"
#include "platform/termination.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    choose_platform(argc, argv);
    // The token a desktop gives a program it starts, so its window may come
    // forward; read before Qt takes it. A second start hands it over.
    const QByteArray activation_token = desktop_activation_token();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qv742-panel"));
    QCoreApplication::setOrganizationName(QStringLiteral("qv742"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QV742_VERSION));

    const PanelOptions options = parse_panel_options(QCoreApplication::arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "qv742-panel: %s\nTry 'qv742-panel --help'.\n", qPrintable(options.error));
        return 2;
    }
    if (options.show_help || options.show_version) {
        const QByteArray text = options.show_help ? options.help_text.toLocal8Bit()
                                                  : QByteArrayLiteral("qv742-panel " QV742_VERSION "\n");
        if (const int error = print_out(text))
            return output_failed("qv742-panel", error);
        return 0;
    }

    SingleInstance instance;
    if (!instance.acquire())
        return hand_over_to_running_panel(options, activation_token);
    if (!instance.problem().isEmpty())
        std::fprintf(stderr, "qv742-panel: %s; another panel of yours could start beside this one.\n",
                     qPrintable(instance.problem()));

    install_font_substitutes();
    SystemParts parts;
    // The command line's devices hold for this run, ahead of the ones
    // chosen in the panel.
    parts.com_devices.set_override(1, options.com1);
    parts.com_devices.set_override(2, options.com2);
    const PanelFiles files = locate_panel_files(QCoreApplication::applicationDirPath());
    QGuiApplication::setDesktopFileName(desktop_file_name(files.beside_program));
    name_desktop_file_of_windows(app);

    PanelEnvironment env = parts.environment(files.bmp_dir, files.settings_path);
    env.settings_read_path = files.settings_read_path;
    FrmMain panel(env);
    // Listening from the start: a second start or a script that comes
    // during start-up waits for it to end.
    const auto control = open_control_socket(panel, parts.port);

    // The panel may be hidden (tray, magnifier) while other windows close:
    // the program ends when the panel has shut down, not before.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&panel, &FrmMain::finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    on_termination_request(&panel, [&panel] { panel.end_on_request(); });
    panel.start_up();
    if (panel.has_finished())
        return 0;  // asked to end while starting up
    return app.exec();
}
