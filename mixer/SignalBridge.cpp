#include "mixer/SignalBridge.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <stdexcept>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace gasmixer {
namespace {

// The one thing the handler may touch; lock-free, so safe in a handler.
std::atomic<int> WakeFd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnStopSignal(int signalNumber)
{
    const int savedErrno = errno;
    const int fd = WakeFd.load();
    const auto byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a wake-up, so a lost byte loses nothing.
    if (fd >= 0) {
        [[maybe_unused]] const ssize_t n = write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

SignalBridge::SignalBridge(Callback onSignal, QObject* parent) : QObject(parent), onSignal_(std::move(onSignal))
{
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) != 0)
        throw std::system_error(errno, std::generic_category(), "socketpair");
    readFd_ = fds[0];
    writeFd_ = fds[1];
    int expected = -1;
    if (!WakeFd.compare_exchange_strong(expected, writeFd_)) {
        Uninstall();
        throw std::logic_error("a signal bridge is already installed");
    }

    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : Signals) sigaddset(&action.sa_mask, signalNumber);
    for (const int signalNumber : Signals) {
        if (sigaction(signalNumber, &action, &previous_[installed_]) != 0) {
            const int error = errno;
            Uninstall();
            throw std::system_error(error, std::generic_category(), "sigaction");
        }
        ++installed_;
    }

    notifier_ = new QSocketNotifier(readFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalBridge::Deliver);
}

SignalBridge::~SignalBridge()
{
    Uninstall();
}

void SignalBridge::Uninstall()
{
    // Handlers first, so that no signal writes to a descriptor being closed.
    while (installed_ > 0) {
        --installed_;
        sigaction(Signals[installed_], &previous_[installed_], nullptr);
    }
    int mine = writeFd_;
    WakeFd.compare_exchange_strong(mine, -1);
    delete notifier_;
    notifier_ = nullptr;
    for (int* fd : {&readFd_, &writeFd_}) {
        if (*fd >= 0) close(*fd);
        *fd = -1;
    }
}

void SignalBridge::Deliver()
{
    // Signals that came together are one request to stop.
    unsigned char bytes[16];
    int first = 0;
    for (;;) {
        const ssize_t n = read(readFd_, bytes, sizeof bytes);
        if (n > 0) {
            if (first == 0) first = bytes[0];
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;
    }
    if (first != 0 && onSignal_) onSignal_(first);
}

}  // namespace gasmixer
