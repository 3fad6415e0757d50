#include "app/panel_control.h"

#include "app/come_forward.h"
#include "app/command_line.h"
#include "app/control_address.h"
#include "app/control_client.h"
#include "app/control_server.h"
#include "link/system_serial_port.h"
#include "window/frm_main.h"

#include <cstdio>

namespace {

// A panel that is still starting has its lock before its socket.
constexpr int kConnectRetryMs = 5000;
// Start-up or a routine with a ready wait may keep it busy this long.
constexpr int kShowAnswerMs = 15000;

void note(const QString& text)
{
    std::fprintf(stderr, "qv742-panel: %s\n", qPrintable(text));
}

}  // namespace

std::unique_ptr<ControlServer> open_control_socket(FrmMain& panel, SystemSerialPort& port)
{
    ControlTarget target;
    target.panel = &panel.panel();
    target.come_forward = [&panel](const QString& token) { come_forward(panel, token); };
    target.device = [&port](int com) { return port.device(com); };
    auto server = std::make_unique<ControlServer>(target);
    QString error;
    const QString path = control_socket_path(true, error);
    if (path.isEmpty() || !server->listen(path, error)) {
        note(QStringLiteral("no control socket (%1); scripts cannot reach this panel").arg(error));
        return nullptr;
    }
    QObject::connect(&panel, &FrmMain::finished, server.get(), &ControlServer::stop);
    return server;
}

int hand_over_to_running_panel(const PanelOptions& options, const QByteArray& activation_token)
{
    ControlClient client;
    QString error;
    if (!client.connect_to_panel(kConnectRetryMs, error)) {
        note(QStringLiteral("another panel is running, but it does not answer (%1)").arg(error));
        return 1;
    }
    // A device given for this start cannot be taken over: say which one
    // the running panel goes on using.
    const std::pair<int, QString> given[] = {{1, options.com1_given ? options.com1 : QString()},
                                             {2, options.com2_given ? options.com2 : QString()}};
    QStringList kept;
    std::optional<control::Answer> answer;
    bool understood = true;
    for (const auto& [com, device] : given) {
        if (device.isEmpty())
            continue;
        client.send(QByteArrayLiteral("DEVICE ") + QByteArray::number(com));
        answer = client.next(kShowAnswerMs);
        understood = answer && answer->word == "DEVICE";
        if (!understood)
            break;
        if (answer->text != control::canonical_device(device))
            kept << QStringLiteral("COM%1 is %2, not %3").arg(com).arg(answer->text, device);
    }
    if (understood) {
        // The desktop lets the running panel come forward by the token it
        // gave this start; one that does not fit a request is left out.
        client.send(control::is_activation_token(activation_token) ? "SHOW " + activation_token
                                                                    : QByteArray("SHOW"));
        answer = client.next(kShowAnswerMs);
    }
    if (answer && answer->word == "OK") {
        // Whether the desktop let it come forward, only the desktop knows.
        note(QStringLiteral("a panel is running already; it has been asked to come forward."));
    } else if (!answer && client.timed_out()) {
        note(QStringLiteral("a panel is running already; it is busy and comes forward when it is free."));
    } else {
        note(QStringLiteral("a panel is running already, but it did not take the request (%1)")
                 .arg(answer ? answer->text : client.failure()));
        return 1;
    }
    if (!kept.isEmpty())
        note(QStringLiteral("The running panel keeps its own devices (%1): close it first to use another.")
                 .arg(kept.join(QStringLiteral("; "))));
    return 0;
}
