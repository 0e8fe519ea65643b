#include "RawPort.h"

#include "sim/ModbusRtu.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace gasmixer::sim::test {

using Clock = std::chrono::steady_clock;

RawPort::RawPort(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
{
    if (fd_.Get() < 0) throw std::system_error(errno, std::generic_category(), "open " + path);
    tcflush(fd_.Get(), TCIFLUSH);
}

void RawPort::Write(const Bytes& bytes)
{
    if (write(fd_.Get(), bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::system_error(errno, std::generic_category(), "write");
}

Received RawPort::Exchange(const Bytes& request, std::chrono::milliseconds patience, std::chrono::milliseconds quiet)
{
    Received got;
    const auto written = Clock::now();
    if (write(fd_.Get(), request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
        got.hungUp = true;  // the terminal fails writes once its device side is gone
        return got;
    }
    auto deadline = written + patience;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return got;
        pollfd pfd{fd_.Get(), POLLIN, 0};
        if (poll(&pfd, 1, static_cast<int>(left)) <= 0) continue;
        std::uint8_t buffer[256];
        const ssize_t n = read(fd_.Get(), buffer, sizeof buffer);
        if (n > 0) {
            if (got.bytes.empty()) got.firstByteAfter = Clock::now() - written;
            got.bytes.insert(got.bytes.end(), buffer, buffer + n);
            got.arrivals.emplace_back(Clock::now() - written, got.bytes.size());
            deadline = Clock::now() + quiet;
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            got.hungUp = true;
            return got;
        }
    }
}

Bytes WithCrc(Bytes frame)
{
    AppendCrc(frame);
    return frame;
}

}  // namespace gasmixer::sim::test
