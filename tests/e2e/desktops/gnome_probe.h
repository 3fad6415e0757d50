#pragma once
// GNOME Shell as the test sees it: its windows and dialogs through
// org.gnome.Shell.Eval (the session's extension opens it), and the pointer
// through mutter's remote-desktop interface.

#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <optional>

class GnomeShell {
public:
    // The value of a JavaScript expression in the shell, through JSON.
    QJsonValue eval(const QString& expression)
    {
        QDBusInterface shell("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell");
        const QDBusMessage reply = shell.call("Eval", "JSON.stringify({v: (function () { " + expression + " })()})");
        const QVariantList out = reply.arguments();
        if (out.size() != 2 || !out[0].toBool())
            return {};
        // The shell hands the result back as JSON too: a JSON string.
        const QJsonArray result = QJsonDocument::fromJson("[" + out[1].toString().toUtf8() + "]").array();
        return QJsonDocument::fromJson(result.at(0).toString().toUtf8()).object().value("v");
    }

    // A window by its title: where it is, its desktop entry, whether minimised.
    std::optional<QJsonObject> window(const QString& title)
    {
        const QJsonArray all = eval(QStringLiteral(
            "const tracker = imports.gi.Shell.WindowTracker.get_default();"
            "return global.get_window_actors().map(a => a.meta_window).map(w => { const r = w.get_frame_rect();"
            " const app = tracker.get_window_app(w); return {title: w.get_title(), x: r.x, y: r.y,"
            " width: r.width, height: r.height, minimized: w.minimized, app: app ? app.get_id() : ''}; });"))
                                   .toArray();
        for (const QJsonValue& w : all)
            if (w["title"].toString() == title)
                return w.toObject();
        return std::nullopt;
    }

    QRect rect(const QString& title)
    {
        const auto w = window(title);
        return w ? QRect((*w)["x"].toInt(), (*w)["y"].toInt(), (*w)["width"].toInt(), (*w)["height"].toInt()) : QRect();
    }

    // The centre of a button of the shell's modal dialog, by its label;
    // a null point when no such dialog is up.
    QPoint dialog_button(const QString& label)
    {
        const QJsonArray at = eval(QStringLiteral(
            "const St = imports.gi.St; let found = null;"
            "const walk = a => { if (a instanceof St.Button && a.visible && a.label === '%1') {"
            " const [x, y] = a.get_transformed_position(); found = [Math.round(x + a.width / 2), Math.round(y + a.height / 2)]; }"
            " a.get_children().forEach(walk); };"
            "walk(imports.ui.main.layoutManager.modalDialogGroup); return found;").arg(label))
                                  .toArray();
        return at.size() == 2 ? QPoint(at[0].toInt(), at[1].toInt()) : QPoint();
    }
};

// The pointer of a remote-desktop session of mutter's, moved relative to
// where it is: first into the bottom right corner of `screen`, where it
// stops (the top left one is the shell's hot corner, which holds it).
class MutterPointer {
public:
    QString start(QSize screen)
    {
        QDBusInterface rd("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop",
                          "org.gnome.Mutter.RemoteDesktop");
        const QDBusReply<QDBusObjectPath> session = rd.call("CreateSession");
        if (!session.isValid())
            return "no remote-desktop session: " + session.error().message();
        session_ = session.value().path();
        const QDBusMessage started = call("Start", {});
        if (started.type() == QDBusMessage::ErrorMessage)
            return "the remote-desktop session did not start: " + started.errorMessage();
        call("NotifyPointerMotionRelative", {10000.0, 10000.0});
        at_ = QPoint(screen.width() - 1, screen.height() - 1);
        return {};
    }

    void move_to(QPoint p)
    {
        call("NotifyPointerMotionRelative", {double(p.x() - at_.x()), double(p.y() - at_.y())});
        at_ = p;
    }
    void glide_to(QPoint at, int step_ms = 15)
    {
        const QPoint from = at_;
        for (int i = 1; i <= 10; ++i) {
            move_to(from + (at - from) * i / 10);
            QTest::qWait(step_ms);
        }
    }
    void click(QPoint at) { drag(at, {}); }
    void drag(QPoint from, QPoint by)
    {
        glide_to(from);
        QTest::qWait(150);
        call("NotifyPointerButton", {0x110, true});
        QTest::qWait(150);
        if (!by.isNull()) {
            glide_to(from + by, 40);
            QTest::qWait(150);
        }
        call("NotifyPointerButton", {0x110, false});
    }

private:
    QDBusMessage call(const QString& method, const QVariantList& args)
    {
        QDBusInterface s("org.gnome.Mutter.RemoteDesktop", session_, "org.gnome.Mutter.RemoteDesktop.Session");
        return s.callWithArgumentList(QDBus::Block, method, args);
    }

    QString session_;
    QPoint at_;
};
