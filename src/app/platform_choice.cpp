#include "app/platform_choice.h"

#include <QtGlobal>

QByteArray preferred_platform(const QByteArray& qpa_platform, const QByteArray& wayland_display,
                              const QByteArray& x_display, const QStringList& arguments)
{
    if (!qpa_platform.isEmpty())
        return {};
    for (const QString& a : arguments)
        if (a == QLatin1String("-platform") || a == QLatin1String("--platform")
            || a.startsWith(QLatin1String("-platform=")) || a.startsWith(QLatin1String("--platform=")))
            return {};
    if (wayland_display.isEmpty() || x_display.isEmpty())
        return {};
    return QByteArrayLiteral("xcb;wayland");
}

void choose_platform(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QByteArray choice = preferred_platform(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"),
                                                 qgetenv("DISPLAY"), arguments);
    if (!choice.isEmpty())
        qputenv("QT_QPA_PLATFORM", choice);
}
