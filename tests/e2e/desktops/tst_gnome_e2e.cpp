// The real panel on headless GNOME Shell (wayland_session.sh --desktop
// gnome starts it and runs this program inside). The shell's view of its
// windows, dialogs and screen comes through org.gnome.Shell.Eval and its
// screenshot interface (the session's extension opens both), the pointer
// from a remote-desktop session of mutter's.

#include "desktop_session.h"

#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QJsonDocument>

using namespace desktop_test;

namespace {

const QString kEntry = kSession + "/home/.local/share/applications/qv742-panel-build.desktop";

// Moved relative to where it is, after a push into the bottom right corner,
// where it stops (the top left one is the shell's hot corner, which holds it).
class MutterPointer : public Pointer {
public:
    QString start()
    {
        QDBusInterface rd("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop",
                          "org.gnome.Mutter.RemoteDesktop");
        const QDBusReply<QDBusObjectPath> session = rd.call("CreateSession");
        if (!session.isValid())
            return "no remote-desktop session: " + session.error().message();
        session_ = session.value().path();
        if (call("Start", {}).type() == QDBusMessage::ErrorMessage)
            return "the remote-desktop session did not start";
        call("NotifyPointerMotionRelative", {10000.0, 10000.0});
        at_ = QPoint(kDesktopScreen.width() - 1, kDesktopScreen.height() - 1);
        return {};
    }
    void move_to(QPoint p) override
    {
        call("NotifyPointerMotionRelative", {double(p.x() - at_.x()), double(p.y() - at_.y())});
        at_ = p;
    }
    void button(bool down) override { call("NotifyPointerButton", {0x110, down}); }

private:
    QDBusMessage call(const QString& method, const QVariantList& args)
    {
        return QDBusInterface("org.gnome.Mutter.RemoteDesktop", session_, "org.gnome.Mutter.RemoteDesktop.Session")
            .callWithArgumentList(QDBus::Block, method, args);
    }

    QString session_;
};

// The value of a JavaScript function body in the shell, through JSON.
QJsonValue eval(const QString& body)
{
    const QVariantList out = QDBusInterface("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell")
                                 .call("Eval", "JSON.stringify({v: (function () { " + body + " })()})")
                                 .arguments();
    if (out.size() != 2 || !out[0].toBool())
        return {};
    // The shell hands the result back as JSON too: a JSON string.
    const QJsonArray result = QJsonDocument::fromJson("[" + out[1].toString().toUtf8() + "]").array();
    return QJsonDocument::fromJson(result.at(0).toString().toUtf8()).object().value("v");
}

// Runs `statement` on the window (w) of `title`.
void on_window(const QString& title, const QString& statement)
{
    eval("global.get_window_actors().map(a => a.meta_window).filter(w => w.get_title() === '" + title
         + "').forEach(w => " + statement + "); return 0;");
}

// The centre of a button of the shell's modal dialog; null when none is up.
QPoint dialog_button(const QString& label)
{
    const QJsonArray at = eval(QStringLiteral(
        "const St = imports.gi.St; let found = null;"
        "const walk = a => { if (a instanceof St.Button && a.visible && a.label === '%1') {"
        " const [x, y] = a.get_transformed_position();"
        " found = [Math.round(x + a.width / 2), Math.round(y + a.height / 2)]; }"
        " a.get_children().forEach(walk); };"
        "walk(imports.ui.main.layoutManager.modalDialogGroup); return found;").arg(label)).toArray();
    return at.size() == 2 ? QPoint(at[0].toInt(), at[1].toInt()) : QPoint();
}

}  // namespace

class TestGnome : public DesktopTest {
    Q_OBJECT

    MutterPointer pointer_;
    bool asked_ = false;  // GNOME asks once whether the panel may take screenshots

public:
    QJsonArray windows() override
    {
        return eval(QStringLiteral(
            "const tracker = imports.gi.Shell.WindowTracker.get_default();"
            "return global.get_window_actors().map(a => a.meta_window).map(w => { const r = w.get_frame_rect();"
            " const app = tracker.get_window_app(w); return {title: w.get_title(), x: r.x, y: r.y,"
            " width: r.width, height: r.height, minimized: w.minimized,"
            " entry: app ? app.get_id().replace(/\\.desktop$/, '') : ''}; });")).toArray();
    }
    void move_window(const QString& title, QPoint to) override
    {
        on_window(title, QStringLiteral("w.move_frame(true, %1, %2)").arg(to.x()).arg(to.y()));
    }
    void minimise(const QString& title) override { on_window(title, "w.minimize()"); }
    void shoot(const QString& file) override
    {
        QDBusInterface("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot", "org.gnome.Shell.Screenshot")
            .call("Screenshot", false, false, file);
    }
    // From the shell, as a click in its menu does: with the shell's token.
    void start_again(const QString&) override
    {
        eval("imports.gi.Gio.DesktopAppInfo.new_from_filename('" + kEntry + "').launch([],"
             " global.create_app_launch_context(global.display.get_current_time_roundtrip(), -1)); return 0;");
    }
    // Once, while the magnifier shows that it waits: longer than the old
    // limit would be slow; a user takes a few seconds.
    void allow_screenshots() override
    {
        if (asked_)
            return;
        QPoint allow;
        QTRY_VERIFY2_WITH_TIMEOUT(!(allow = dialog_button("Allow")).isNull(), "GNOME did not ask for permission", 10000);
        asked_ = true;
        QTest::qWait(3000);
        QVERIFY2(window(kMagnifierTitle), "the magnifier gave up waiting");
        pointer_.click(allow);
        QTRY_VERIFY2_WITH_TIMEOUT(dialog_button("Allow").isNull(), "the dialog did not go", 10000);
    }
    Pointer& pointer() override { return pointer_; }
    bool centres_new_windows() const override { return false; }

private slots:
    void initTestCase()
    {
        QDBusInterface("org.gnome.Shell", "/org/gnome/Shell", "org.freedesktop.DBus.Properties")
            .call("Set", "org.gnome.Shell", "OverviewActive", QVariant::fromValue(QDBusVariant(false)));
        const QString error = pointer_.start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(pattern(kDesktopScreen).save(kSession + "/pattern.png"));
        for (const char* key : {"picture-uri", "picture-uri-dark"})
            run("gsettings", {"set", "org.gnome.desktop.background", key, "file://" + kSession + "/pattern.png"});
        run("gsettings", {"set", "org.gnome.desktop.background", "picture-options", "stretched"});
        QTRY_VERIFY2_WITH_TIMEOUT(screen().pixel(500, 300) == pattern_colour(500, 300),
                                  "the desktop pattern did not appear", 20000);
    }
};

QTEST_GUILESS_MAIN(TestGnome)

#include "tst_gnome_e2e.moc"
