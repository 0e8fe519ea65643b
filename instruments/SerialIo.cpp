#include "instruments/SerialIo.h"

#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
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
    return true;
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
