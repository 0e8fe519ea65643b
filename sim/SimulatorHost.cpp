#include "sim/SimulatorHost.h"

#include "instruments/RelayBoard.h"
#include "instruments/SimulatorRegistry.h"
#include "instruments/VogtlinPort.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <system_error>

namespace gasmixer::sim {
namespace {

int PollTimeoutMs(std::optional<TimePoint> deadline, TimePoint now)
{
    if (!deadline) return -1;
    if (*deadline <= now) return 0;
    // Rounded up: waking before the deadline would only poll again.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*deadline - now).count();
    return static_cast<int>(std::min<long long>(wait, 60'000));
}

std::optional<TimePoint> Earliest(std::optional<TimePoint> a, std::optional<TimePoint> b)
{
    if (!a) return b;
    if (!b) return a;
    return std::min(*a, *b);
}

// The character time of a line as the program sets it up, or none.
std::chrono::nanoseconds Pace(bool pacing, void (*applySettings)(TSerialPort&))
{
    if (!pacing) return {};
    TSerialPort settings;
    applySettings(settings);
    return CharacterTime(settings);
}

}  // namespace

SimulatorHost::SimulatorHost(SimulatorOptions options)
    : trace_(options.trace), clock_(std::move(options.clock)), mfcs_(clock_()), relay_(options.waterTemperature),
      mfcLine_("mfc-line", mfcs_, options.trace, Pace(options.pacing, ApplyMfcLineSettings)),
      relayLine_("relay-board", relay_, options.trace, Pace(options.pacing, ApplyRelayBoardSettings)),
      wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (wake_.Get() < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
    if (options.announce)
        announcement_ = std::make_unique<Announcement>(mfcLine_.SlavePath(), relayLine_.SlavePath());
    service_ = std::thread([this] { Serve(); });
}

SimulatorHost::~SimulatorHost()
{
    Stop();
}

FlowController& SimulatorHost::Mfc(int address)
{
    FlowController* controller =
        address >= 0 && address <= 255 ? mfcs_.Controller(static_cast<std::uint8_t>(address)) : nullptr;
    if (!controller) throw std::out_of_range("no flow controller at address " + std::to_string(address));
    return *controller;
}

void SimulatorHost::ReconnectVanishedLines()
{
    reconnecting_ = true;
    Wake();
}

void SimulatorHost::Stop()
{
    if (service_.joinable()) {
        stopping_ = true;
        Wake();
        service_.join();
    }
    announcement_.reset();
}

void SimulatorHost::Wake()
{
    const std::uint64_t one = 1;
    // The service thread drains the counter on every wake, so it cannot overflow.
    [[maybe_unused]] const ssize_t n = write(wake_.Get(), &one, sizeof one);
}

void SimulatorHost::Reconnect(SimulatedLine& line, const char* linkName)
{
    try {
        line.Reconnect([&](const std::string& path) {
            if (announcement_) announcement_->Repoint(linkName, path);
        });
    } catch (const std::exception& e) {
        // The line stays gone; a later reconnection may succeed.
        if (trace_) trace_(std::string(linkName) + ": cannot come back: " + e.what());
    }
}

void SimulatorHost::Serve()
{
    SimulatedLine* const lines[] = {&mfcLine_, &relayLine_};
    for (;;) {
        pollfd fds[3] = {{wake_.Get(), POLLIN, 0}, {lines[0]->PollFd(), POLLIN, 0}, {lines[1]->PollFd(), POLLIN, 0}};
        const auto deadline = Earliest(lines[0]->NextDeadline(), lines[1]->NextDeadline());
        // A closed line has fd -1, which poll() skips.
        if (poll(fds, 3, PollTimeoutMs(deadline, clock_())) < 0) {
            if (errno == EINTR || errno == ENOMEM) continue;
            throw std::system_error(errno, std::generic_category(), "poll");
        }
        if (fds[0].revents) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = read(wake_.Get(), &count, sizeof count);
            if (stopping_) return;
            if (reconnecting_.exchange(false)) {
                Reconnect(mfcLine_, SimulatorMfcLinkName);
                Reconnect(relayLine_, SimulatorRelayLinkName);
            }
        }

        const TimePoint now = clock_();
        for (int i = 0; i < 2; ++i) {
            if (fds[i + 1].revents) lines[i]->OnReadable(now);
            lines[i]->OnTime(now);
        }
    }
}

}  // namespace gasmixer::sim
