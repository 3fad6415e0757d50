// Every bitmap the panel ships, with its exact pixel size.
// Shared by the generator and by tests/artwork, so the two can never disagree
// about which files exist.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace artwork {

enum class Kind {
    SkinButton,   // "<skin>_<stem>_<state>", skins "1" and "2"
    Refresh,      // "refresh_<state>", shared by both skins
    Magnifier,    // "m_<stem>_<state>", drawn on the strip colour
    WindowIcon,   // "icon"
    DragPointer,  // "m_drag", drawn on the key colour
    Panel,        // "blue_panel", "1_panel", "2_panel"
    AppIcon,      // "qv742-<size>" PNG for desktop integration
};

enum class Folder { Pictures, Panels, Icons };

struct Item {
    QString name;     // lower case, without extension
    int width = 0;
    int height = 0;
    Kind kind = Kind::SkinButton;
    QString skin;     // "1", "2" or empty
    QString stem;     // e.g. "scan_under", "zoom5_on"; empty for single pictures
    int state = -1;   // 0 normal, 1 highlighted/chosen, 2 selected; -1 if none

    Folder folder() const
    {
        if (kind == Kind::Panel)
            return Folder::Panels;
        if (kind == Kind::AppIcon)
            return Folder::Icons;
        return Folder::Pictures;
    }
    QString fileName() const { return name + (kind == Kind::AppIcon ? ".png" : ".bmp"); }
    // Path relative to the repository root.
    QString relativePath() const
    {
        switch (folder()) {
        case Folder::Panels: return QStringLiteral("bmp/") + fileName();
        case Folder::Icons: return QStringLiteral("resources/icons/") + fileName();
        case Folder::Pictures: break;
        }
        return QStringLiteral("resources/pictures/") + fileName();
    }
};

inline const QStringList &skins()
{
    static const QStringList s{QStringLiteral("1"), QStringLiteral("2")};
    return s;
}

inline QStringList magnifierToggleStems()
{
    return {QStringLiteral("15"), QStringLiteral("20"), QStringLiteral("small"), QStringLiteral("big")};
}

inline QStringList appIconSizes()
{
    return {QStringLiteral("16"), QStringLiteral("32"), QStringLiteral("48"),
            QStringLiteral("64"), QStringLiteral("128"), QStringLiteral("256")};
}

constexpr int kPanelWidth = 306;
constexpr int kPanelHeight = 118;

inline std::vector<Item> inventory()
{
    struct Group {
        QStringList stems;
        int states;
        int w, h;
    };
    QStringList zoomCells;
    for (const char *onOff : {"on", "off"})
        for (int n = 1; n <= 9; ++n)
            zoomCells << QStringLiteral("zoom%1_%2").arg(n).arg(QLatin1String(onOff));

    const std::vector<Group> groups = {
        {{"sys_tray", "min", "close", "help"}, 2, 22, 19},
        {{"sys_reset", "zoom", "mag", "scan_under", "scan_over", "option", "move", "pan",
          "size", "expand", "out_cv", "out_yuv", "freeze_off", "freeze_on", "v_set",
          "return", "reset", "power_off", "power_on", "aspect_full", "aspect_panscan",
          "aspect_letterbox"},
         2, 39, 27},
        {{"2move", "2pan", "2size", "2expand"}, 3, 39, 27},
        {{"up", "left", "down", "right", "default"}, 2, 26, 25},
        {{"com1_on", "com1_off", "com2_on", "com2_off"}, 2, 22, 15},
        {zoomCells, 2, 33, 24},
        {{"connect_on", "connect_off"}, 1, 31, 19},
    };

    std::vector<Item> items;
    for (const QString &skin : skins())
        for (const Group &g : groups)
            for (const QString &stem : g.stems)
                for (int s = 0; s < g.states; ++s)
                    items.push_back({skin + '_' + stem + '_' + QString::number(s), g.w, g.h,
                                     Kind::SkinButton, skin, stem, s});

    for (int s = 0; s < 2; ++s)
        items.push_back({QStringLiteral("refresh_%1").arg(s), 39, 25, Kind::Refresh, {},
                         QStringLiteral("refresh"), s});

    for (const QString &stem : magnifierToggleStems())
        for (int s = 0; s < 2; ++s)
            items.push_back({QStringLiteral("m_%1_%2").arg(stem).arg(s), 28, 17, Kind::Magnifier,
                             {}, stem, s});
    for (int s = 0; s < 2; ++s)
        items.push_back({QStringLiteral("m_refresh_%1").arg(s), 29, 17, Kind::Magnifier, {},
                         QStringLiteral("refresh"), s});
    for (int s = 0; s < 2; ++s)
        items.push_back({QStringLiteral("m_close_%1").arg(s), 19, 18, Kind::Magnifier, {},
                         QStringLiteral("close"), s});

    items.push_back({QStringLiteral("icon"), 32, 32, Kind::WindowIcon, {}, {}, -1});
    items.push_back({QStringLiteral("m_drag"), 32, 32, Kind::DragPointer, {}, {}, -1});

    items.push_back({QStringLiteral("blue_panel"), kPanelWidth, kPanelHeight, Kind::Panel, {}, {}, -1});
    for (const QString &skin : skins())
        items.push_back({skin + QStringLiteral("_panel"), kPanelWidth, kPanelHeight, Kind::Panel,
                         skin, {}, -1});

    for (const QString &size : appIconSizes())
        items.push_back({QStringLiteral("qv742-") + size, size.toInt(), size.toInt(),
                         Kind::AppIcon, {}, {}, -1});
    return items;
}

} // namespace artwork
