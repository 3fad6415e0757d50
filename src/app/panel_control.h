#pragma once
// The running panel and its clients: the control socket the panel opens, and
// what a second start does instead of running a panel of its own.

#include <QByteArray>
#include <memory>

class ControlServer;
class FrmMain;
class SystemSerialPort;
struct PanelOptions;

// Opens the control socket of `panel` (whose COM devices `port` knows); it
// closes when the panel shuts down. Null, with a note on standard error,
// when it cannot: the panel then runs without clients.
std::unique_ptr<ControlServer> open_control_socket(FrmMain& panel, SystemSerialPort& port);

// A panel runs already: ask it to come forward, handing it the activation
// token the desktop gave this start, and say so on standard error. Returns
// the exit status (0 when it was asked).
int hand_over_to_running_panel(const PanelOptions& options, const QByteArray& activation_token);
