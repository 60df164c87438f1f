#include "platform/system/Stop_Signals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace sys {

namespace {

// The signal handler writes one byte into the pipe; the notifier on its read end wakes the
// event loop. Only async-signal-safe calls in the handler.
int Pipe_Fds[2] = {-1, -1};
std::unique_ptr<QSocketNotifier> Notifier;
std::function<void()> On_Stop;

void On_Signal(int)
{
    const int saved = errno;
    const char byte = 1;
    (void)!::write(Pipe_Fds[1], &byte, 1);
    errno = saved;
}

void Close_Pipe()
{
    for (int& fd : Pipe_Fds) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

}  // namespace

bool Watch_Stop_Signals(std::function<void()> on_stop)
{
    On_Stop = std::move(on_stop);
    if (Pipe_Fds[0] < 0) {
        if (::pipe2(Pipe_Fds, O_CLOEXEC | O_NONBLOCK) != 0) {
            Pipe_Fds[0] = Pipe_Fds[1] = -1;
            return false;
        }
        Notifier = std::make_unique<QSocketNotifier>(Pipe_Fds[0], QSocketNotifier::Read);
        QObject::connect(Notifier.get(), &QSocketNotifier::activated, [] {
            char bytes[16];
            ssize_t n;
            int requests = 0;
            while ((n = ::read(Pipe_Fds[0], bytes, sizeof bytes)) > 0) requests += static_cast<int>(n);
            for (int i = 0; i < requests; ++i)
                if (On_Stop) On_Stop();
        });
    }
    struct sigaction action {};
    action.sa_handler = On_Signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    return true;
}

void Stop_Watching_Signals()
{
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    Notifier.reset();
    Close_Pipe();
    On_Stop = nullptr;
}

}  // namespace sys
