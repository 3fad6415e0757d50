#include "app/panel_files.h"

#include "window/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

PanelFiles locate_panel_files(const QString& program_dir)
{
    const QDir dir(program_dir);
    const QString beside = dir.filePath(QStringLiteral("bmp"));
    if (QFileInfo(beside).isDir()) {
        const SettingsPaths settings = settings_location(program_dir);
        return {beside, settings.write, settings.read, true};
    }

    QString installed = QDir::cleanPath(dir.filePath(QStringLiteral("../share/qv742/bmp")));
    if (!QFileInfo(installed).isDir())
        installed = QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("qv742/bmp"),
                                           QStandardPaths::LocateDirectory);
    // Nothing found: name the folder beside the program, so the message box
    // tells the user where the bitmaps were expected.
    return {installed.isEmpty() ? beside : installed, user_settings_path(), user_settings_path()};
}
