#pragma once

#include "sim/Framer.h"
#include "sim/LineResponder.h"
#include "sim/PseudoTerminal.h"
#include "sim/WireTiming.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace gasmixer::sim {

// Receives a line of text for every frame in and out, when tracing is wanted.
using LineTrace = std::function<void(std::string_view)>;

// One serial line as the simulated instruments see it: the master side of a
// pseudo-terminal, cut into requests and answered by a responder. Used from
// the service thread only, but for SlavePath.
//
// A pseudo-terminal has no speed of its own. Given a character time, the
// line keeps the pace of a wire at that speed: a request counts as received
// once its bytes could have arrived, and the reply's bytes come out one
// character time apart. Zero sends replies whole.
class SimulatedLine {
public:
    SimulatedLine(std::string name, LineResponder& responder, LineTrace trace,
                  std::chrono::nanoseconds characterTime = {});

    // Changes when a vanished line comes back.
    std::string SlavePath() const;
    int PollFd() const { return pty_->MasterFd(); }  // -1 once the line is gone

    // Brings a vanished line back on a new pseudo-terminal, told to
    // `announce` before anyone can see the line's new path; a line that is
    // not gone stays as it is. Throws what the pty or `announce` throws, and
    // then stays gone.
    void Reconnect(const std::function<void(const std::string& path)>& announce);

    // Takes in what arrived; the replies leave with the next OnTime.
    void OnReadable(TimePoint now);
    // Ends frames by silence and sends the replies that are due.
    void OnTime(TimePoint now);
    std::optional<TimePoint> NextDeadline() const;

private:
    void Handle(const Bytes& request, TimePoint now);
    void SendArrived(TimePoint now);
    void Vanish();
    void Trace(std::string_view direction, const Bytes& bytes) const;

    std::string name_;
    mutable std::mutex ptyMutex_;  // guards the pointer for SlavePath, which any thread may call
    std::unique_ptr<PseudoTerminal> pty_;
    LineResponder& responder_;
    Framer framer_;
    LineTrace trace_;
    std::multimap<TimePoint, Bytes> pending_;  // replies by the time they leave
    std::chrono::nanoseconds characterTime_;
    WireTransmitter wire_;
};

}  // namespace gasmixer::sim
