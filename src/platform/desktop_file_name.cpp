#include "platform/desktop_file_name.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#ifdef QV742_XCB
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

QString desktop_file_name(bool run_from_build)
{
    return run_from_build ? QStringLiteral("qv742-panel-build") : QStringLiteral("qv742-panel");
}

namespace {

void name_desktop_file(QWidget& window)
{
#ifdef QV742_XCB
    const QByteArray name = QGuiApplication::desktopFileName().toUtf8();
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (name.isEmpty() || !x11 || !x11->connection())
        return;
    xcb_connection_t* c = x11->connection();
    const auto atom = [c](const char* atom_name) {
        xcb_intern_atom_reply_t* r =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(atom_name)), atom_name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    };
    const xcb_atom_t property = atom("_KDE_NET_WM_DESKTOP_FILE");
    const xcb_atom_t utf8 = atom("UTF8_STRING");
    if (property == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE)
        return;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()), property, utf8, 8,
                        uint32_t(name.size()), name.constData());
    xcb_flush(c);
#else
    (void)window;
#endif
}

class WindowNamer : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            // A changed window flag may have made a new native window.
            if (w->isWindow() && w->property(kNamed).toULongLong() != w->winId()) {
                w->setProperty(kNamed, qulonglong(w->winId()));
                name_desktop_file(*w);
            }
        }
        return false;
    }

private:
    static constexpr const char* kNamed = "qv742_desktop_file_named";
};

}  // namespace

void name_desktop_file_of_windows(QApplication& app)
{
    app.installEventFilter(new WindowNamer(&app));
}
