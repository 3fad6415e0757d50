#include "platform/termination.h"

#include <QObject>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_signal_pipe[2] = {-1, -1};  // written only by the signal handler

void on_signal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signal_pipe[1], &byte, 1);
}
}  // namespace

void on_termination_request(QObject* owner, std::function<void()> close)
{
    if (g_signal_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signal_pipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signal_pipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [close = std::move(close)] {
        char byte;
        [[maybe_unused]] const auto n = ::read(g_signal_pipe[0], &byte, 1);
        close();
    });
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &sa, nullptr);
}
#else
void on_termination_request(QObject*, std::function<void()>) {}
#endif
