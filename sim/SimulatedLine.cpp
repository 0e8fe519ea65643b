#include "sim/SimulatedLine.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace gasmixer::sim {
namespace {

using namespace std::chrono_literals;

// Longer than 3.5 characters at 9600 baud, short enough that a program's
// next request never arrives within it.
constexpr auto InterFrameSilence = 10ms;

std::unique_ptr<PseudoTerminal> OpenNonBlocking()
{
    auto pty = std::make_unique<PseudoTerminal>();
    // A program that stops reading must never block the service thread.
    const int fd = pty->MasterFd();
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    return pty;
}

}  // namespace

SimulatedLine::SimulatedLine(std::string name, LineResponder& responder, LineTrace trace,
                             std::chrono::nanoseconds characterTime)
    : name_(std::move(name)), pty_(OpenNonBlocking()), responder_(responder),
      framer_(responder.RequestLength(), InterFrameSilence), trace_(std::move(trace)), characterTime_(characterTime),
      wire_(characterTime)
{
}

std::string SimulatedLine::SlavePath() const
{
    const std::lock_guard lock(ptyMutex_);
    return pty_->SlavePath();
}

void SimulatedLine::Reconnect(const std::function<void(const std::string& path)>& announce)
{
    if (PollFd() >= 0) return;
    // Made before the old one goes, so the new line cannot take the old
    // line's number and look to the program as if it had never left.
    std::unique_ptr<PseudoTerminal> fresh = OpenNonBlocking();
    announce(fresh->SlavePath());
    framer_ = Framer(responder_.RequestLength(), InterFrameSilence);
    {
        const std::lock_guard lock(ptyMutex_);
        pty_.swap(fresh);
    }
    if (trace_) trace_(name_ + ": back at " + pty_->SlavePath());
}

void SimulatedLine::OnReadable(TimePoint now)
{
    std::array<std::uint8_t, 512> buffer;
    for (;;) {
        const ssize_t n = read(pty_->MasterFd(), buffer.data(), buffer.size());
        if (n > 0) {
            for (const Bytes& request : framer_.Feed({buffer.data(), static_cast<std::size_t>(n)}, now)) {
                Handle(request, now);
                if (PollFd() < 0) return;
            }
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;
        Vanish();  // the terminal itself failed
        return;
    }
}

void SimulatedLine::OnTime(TimePoint now)
{
    if (auto request = framer_.Expire(now)) Handle(*request, now);
    while (PollFd() >= 0 && !pending_.empty() && pending_.begin()->first <= now) {
        Trace("->", pending_.begin()->second);
        wire_.Send(pending_.begin()->first, pending_.begin()->second);
        pending_.erase(pending_.begin());
    }
    if (PollFd() >= 0) SendArrived(now);
}

std::optional<TimePoint> SimulatedLine::NextDeadline() const
{
    if (PollFd() < 0) return std::nullopt;
    std::optional<TimePoint> deadline = framer_.Deadline();
    if (!pending_.empty() && (!deadline || pending_.begin()->first < *deadline)) deadline = pending_.begin()->first;
    if (const auto arrival = wire_.NextArrival(); arrival && (!deadline || *arrival < *deadline)) deadline = arrival;
    return deadline;
}

void SimulatedLine::Handle(const Bytes& request, TimePoint now)
{
    Trace("<-", request);
    std::optional<Outgoing> out = responder_.Answer(request, now);
    if (!out) return;
    if (out->closeLine) {
        Vanish();
        return;
    }
    // The request came through the pseudo-terminal at once; on a wire the
    // device would have it whole only after its bytes' worth of time.
    const auto receiving = characterTime_ * static_cast<long long>(request.size());
    pending_.emplace(out->due + receiving, std::move(out->bytes));
}

void SimulatedLine::SendArrived(TimePoint now)
{
    const Bytes bytes = wire_.Arrived(now);
    if (bytes.empty()) return;
    const ssize_t n = write(pty_->MasterFd(), bytes.data(), bytes.size());
    if (n != static_cast<ssize_t>(bytes.size()) && trace_) trace_(name_ + ": reply not fully written");
}

void SimulatedLine::Vanish()
{
    if (trace_) trace_(name_ + ": gone");
    pending_.clear();
    wire_.Clear();
    pty_->CloseMaster();
}

void SimulatedLine::Trace(std::string_view direction, const Bytes& bytes) const
{
    if (!trace_) return;
    std::string line = name_ + " " + std::string(direction);
    for (std::uint8_t b : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    trace_(line);
}

}  // namespace gasmixer::sim
