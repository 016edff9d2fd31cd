#include "app/ShutdownSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalSocket[2] = {-1, -1};

void notifyLoop(int signal)
{
    const int saved = errno;
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &number, 1);
    errno = saved;
}

}  // namespace

void installShutdownSignals(std::function<void()> onSignal)
{
    if (signalSocket[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
        return;
    ::fcntl(signalSocket[0], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onSignal = std::move(onSignal)] {
        char number = 0;
        if (::read(signalSocket[1], &number, 1) == 1)
            onSignal();
    });
    struct sigaction action = {};
    action.sa_handler = notifyLoop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}
