// qv742-panel: the control panel of the QV-742 scan converter.

#include "app/command_line.h"
#include "app/panel_files.h"
#include "app/single_instance.h"
#include "app/system_parts.h"
#include "platform/fonts.h"
#include "platform/termination.h"

#include <QApplication>
#include <cstdio>

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
    SystemParts parts;
    // The command line's devices hold for this run, ahead of the ones
    // chosen in the panel.
    parts.com_devices.set_override(1, options.com1);
    parts.com_devices.set_override(2, options.com2);
    const PanelFiles files = locate_panel_files(QCoreApplication::applicationDirPath());

    FrmMain panel(parts.environment(files.bmp_dir, files.settings_path));

    // The panel may be hidden (tray, magnifier) while other windows close:
    // the program ends when the panel has shut down, not before.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&panel, &FrmMain::finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    on_termination_request(&panel, [&panel] { panel.close(); });
    panel.start();
    if (panel.has_finished())
        return 0;  // asked to end while starting up
    return app.exec();
}
