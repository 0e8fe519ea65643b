#include "instruments/SerialIo.h"

#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace gasmixer {
namespace {

using Clock = std::chrono::steady_clock;

// Waits until the descriptor is ready for `events` or the deadline passes.
// Returns the poll result flags, 0 on time-out, -1 on error.
int WaitReady(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) return 0;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec timeout{static_cast<time_t>(ns / 1'000'000'000),
                               static_cast<long>(ns % 1'000'000'000)};
        pollfd p{fd, events, 0};
        const int ready = ppoll(&p, 1, &timeout, nullptr);
        if (ready > 0) return p.revents;
        if (ready < 0 && errno != EINTR) return -1;
    }
}

// Waits until the bytes written have left the transmitter. tcdrain alone has
// no time limit: a line held back would block it for ever. So the driver's
// queue is watched until it is empty or the deadline passes, and tcdrain is
// left only the transmitter's own buffer of a few characters. A
// pseudo-terminal hands its bytes on at once, reader or not, and never waits.
bool WaitUntilSent(int fd, Clock::time_point deadline)
{
    constexpr auto Step = std::chrono::milliseconds(1);
    for (;;) {
        int queued = 0;
        if (ioctl(fd, TIOCOUTQ, &queued) != 0) return false;
        if (queued <= 0) break;
        const auto now = Clock::now();
        if (now >= deadline) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(Step, deadline - now));
    }
    while (tcdrain(fd) != 0)
        if (errno != EINTR) return false;
    return true;
}

}  // namespace

bool WriteAll(int fd, std::span<const std::uint8_t> bytes, const TWriteTimeouts& timeouts)
{
    const auto deadline = Clock::now() + timeouts.multiplier * static_cast<long>(bytes.size()) +
                          timeouts.constant;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            if (WaitReady(fd, POLLOUT, deadline) <= 0) return false;
        } else {
            return false;
        }
    }
    return WaitUntilSent(fd, deadline);
}

std::size_t BytesWaiting(int fd)
{
    int count = 0;
    if (ioctl(fd, FIONREAD, &count) != 0 || count < 0) return 0;
    return static_cast<std::size_t>(count);
}

std::vector<std::uint8_t> ReadWithTimeouts(int fd, std::size_t maxBytes,
                                           const TReadTimeouts& timeouts)
{
    std::vector<std::uint8_t> bytes(maxBytes);
    const auto totalDeadline =
        Clock::now() + timeouts.multiplier * static_cast<long>(maxBytes) + timeouts.constant;
    std::size_t got = 0;
    Clock::time_point deadline = totalDeadline;
    while (got < maxBytes) {
        const int ready = WaitReady(fd, POLLIN, deadline);
        if (ready <= 0) break;
        const ssize_t n = read(fd, bytes.data() + got, maxBytes - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            deadline = std::min(totalDeadline, Clock::now() + timeouts.interval);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            continue;
        } else {
            break;  // hung up (0) or failed
        }
    }
    bytes.resize(got);
    return bytes;
}

}  // namespace gasmixer
