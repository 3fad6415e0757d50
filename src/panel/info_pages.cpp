#include "panel/info_pages.h"

#include "core/shared_state.h"
#include "link/device_link.h"
#include "link/protocol.h"
#include "panel/button_pictures.h"
#include "panel/label_layout.h"
#include "panel/pages.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "panel/state_sync.h"
#include "platform/desktop.h"
#include "widgets/twips.h"

#include <QLabel>
#include <QScrollBar>

namespace {
constexpr const char* kSoftwareVersion = "05";

}  // namespace

QString firmware_caption(int version)
{
    return QStringLiteral("Firmware Version: ") + (version < 0 ? QStringLiteral("-") : QStringLiteral(" "))
        + QString::number(std::abs(version));
}

void open_about_page(Panel& p)
{
    begin_page(p, QStringLiteral("ABOUT PANEL"), pages::about);
    p.link.pass_events();
    p.st.firmware_version = p.link.tx_cmd(QStringLiteral("VER999")).value();
    const Twips tw = panel_twips(p);
    const QString captions[] = {QStringLiteral("Software Version: ") + QString::fromLatin1(kSoftwareVersion),
                                firmware_caption(p.st.firmware_version)};
    const double tops[] = {650, 950};
    for (int i = 0; i < 2; ++i) {
        QLabel* label = p.el.lab_text[i];
        set_label_align(label, Align::Left);
        set_label_autosize(label, true);
        tw.set_top(label, layout_twips(p, tops[i]));
        tw.set_left(label, layout_twips(p, 300));
        set_label_caption(label, captions[i]);
        label->show();
    }
}

// A two-by-two grid: contrast and brightness above, colour and sharpness
// below, each caption centred over its slider.
void open_video_page(Panel& p)
{
    begin_page(p, QStringLiteral("VIDEO SETTING PANEL"), pages::video);
    set_button_visible(p, buttons::video_reset, true);
    const Twips tw = panel_twips(p);
    auto& text = p.el.lab_text;
    auto& slider = p.el.hsr_video;

    set_label_caption(text[0], QStringLiteral("CONTRAST"));
    tw.set_top(text[0], layout_twips(p, 650));
    tw.set_left(text[0], layout_twips(p, 255));
    set_label_autosize(text[0], false);
    tw.set_top(slider[0], tw.top(text[0]) + tw.height(text[0]));
    tw.set_left(slider[0], tw.left(text[0]));

    set_label_caption(text[1], QStringLiteral("BRIGHTNESS"));
    tw.set_top(text[1], tw.top(text[0]));
    tw.set_left(text[1], layout_twips(p, 1840));
    set_label_autosize(text[1], false);
    tw.set_top(slider[1], tw.top(slider[0]));
    tw.set_left(slider[1], tw.left(text[1]));

    set_label_caption(text[2], QStringLiteral("COLOR"));
    tw.set_top(text[2], layout_twips(p, 1070));
    tw.set_left(text[2], tw.left(text[0]));
    set_label_autosize(text[2], false);
    tw.set_top(slider[2], tw.top(text[2]) + tw.height(text[2]));
    tw.set_left(slider[2], tw.left(slider[0]));

    set_label_caption(text[3], QStringLiteral("SHARPNESS"));
    tw.set_top(text[3], tw.top(text[2]));
    tw.set_left(text[3], tw.left(text[1]));
    set_label_autosize(text[3], false);
    tw.set_top(slider[3], tw.top(slider[2]));
    tw.set_left(slider[3], tw.left(slider[1]));

    for (int i = 0; i < 4; ++i) {
        set_label_align(text[i], Align::Centre);
        tw.set_width(text[i], tw.width(slider[0]));
        p.link.pass_events();
        text[i]->show();
        slider[i]->show();
    }
    query_video(p);
}

void video_reset(Panel& p)
{
    p.link.tx_cmd(QStringLiteral("RST003"));
    if (p.link.rx_rdy().answered())
        query_video(p);
    else
        show_connect(p, false);
}
