// The pictures of the panel window: the outline, cut once from
// blue_panel.bmp, and the skin's background and colours.

#include "window/frm_main.h"

#include "core/shared_state.h"
#include "widgets/option_label.h"
#include "platform/bmp_file.h"
#include "platform/desktop.h"
#include "window/outline.h"
#include "window/slider_style.h"

#include <QDir>
#include <QLabel>
#include <QScrollBar>

namespace {

// The panel's design size in pixels, used when its bitmap cannot be loaded.
constexpr QSize kDesignSize(306, 118);

QColor plain_background(const QString& skin)
{
    return skin == QLatin1String("1") ? QColor(214, 178, 128) : QColor(46, 36, 58);
}

}  // namespace

// The outline comes from blue_panel.bmp once per run; skins never change it.
void FrmMain::load_outline()
{
    const bool loaded = load_background(QStringLiteral("blue_panel.bmp"));
    const QSize size = loaded ? el_.pic_win->pixmap().size() : kDesignSize;
    el_.pic_win->resize(size);
    setFixedSize(size);
    if (property("centre_on_screen").toBool()) {
        const QSize screen = env_.desktop->screen_size();
        move((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2);
        placement_.placed(std::nullopt, QPoint(x() * twips_.per_px_x, y() * twips_.per_px_y));
    }
    placed_ = true;
    const QRegion outline = loaded ? region_from_picture(el_.pic_win->pixmap().toImage()) : QRegion();
    if (outline.isEmpty())
        clearMask();
    else
        setMask(outline);
}

// Loads a file of the bmp folder into the background; on failure tells the
// user which file and paints the background plain.
bool FrmMain::load_background(const QString& file)
{
    const QString path = QDir(env_.bmp_dir).filePath(file);
    QString error;
    const QImage image = read_bmp_file(path, &error);
    if (!image.isNull()) {
        el_.pic_win->setPixmap(QPixmap::fromImage(image));
        el_.pic_win->setAutoFillBackground(false);
        return true;
    }
    show_message(QStringLiteral("Cannot load the picture %1").arg(path),
                 QStringLiteral("%1. The panel goes on with a plain background.").arg(error));
    el_.pic_win->setPixmap(QPixmap());
    el_.pic_win->setAutoFillBackground(true);
    QPalette palette = el_.pic_win->palette();
    palette.setColor(QPalette::Window, plain_background(st_.panel_skin));
    el_.pic_win->setPalette(palette);
    return false;
}

void FrmMain::load_skin_pictures()
{
    const QSize keep = el_.pic_win->size();
    if (load_background(st_.panel_skin + QStringLiteral("_panel.bmp")) && testAttribute(Qt::WA_TranslucentBackground)
        && !mask().isEmpty())
        el_.pic_win->setPixmap(QPixmap::fromImage(clear_outside(el_.pic_win->pixmap().toImage(), mask())));
    el_.pic_win->resize(keep);
    const bool wood = st_.panel_skin == QLatin1String("1");
    for (QLabel* label : el_.lab_text) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, wood ? Qt::black : Qt::white);
        label->setPalette(palette);
    }
    for (OptionLabel* label : el_.lab_opt)
        label->set_halo(!wood);
    for (QScrollBar* slider : el_.hsr_video)
        slider->setStyleSheet(slider_style_sheet(st_.panel_skin));
}
