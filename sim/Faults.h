#pragma once

#include "sim/SimClock.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>

namespace gasmixer::sim {

enum class FaultKind {
    None,
    Silent,           // the device hears nothing and does nothing
    Exception,        // it refuses the request (relay board: wrong first byte)
    Truncated,        // its reply loses the last byte
    CorruptChecksum,  // the last byte of its reply is inverted
    Delayed,          // its reply leaves after Fault::delay
    Garbage,          // line noise precedes its reply
    Vanish,           // the line's terminal closes on the next request; once
    NoFlow,           // a flow controller answers as ever, but its supply is empty
};

struct Fault {
    FaultKind kind = FaultKind::None;
    std::chrono::milliseconds delay{0};  // for Delayed

    friend bool operator==(const Fault&, const Fault&) = default;
};

// A device's fault setting, changed by one thread while the service thread
// answers with it.
class FaultSwitch {
public:
    void Set(Fault fault);
    Fault Current() const;
    // The fault for the exchange about to happen; a vanishing device cannot
    // vanish twice, so that fault clears itself.
    Fault TakeForExchange();

private:
    mutable std::mutex mutex_;
    Fault fault_;
};

// What goes back on the line for one request.
struct Outgoing {
    Bytes bytes;
    TimePoint due;
    bool closeLine = false;
};

// Answers one request under a fault. `act` carries the request out and gives
// the genuine reply (empty for none); `refuse` gives the device's refusal
// instead. Neither is called when the device is silent or vanishes.
std::optional<Outgoing> AnswerUnder(const Fault& fault, TimePoint now, const std::function<Bytes()>& act,
                                    const std::function<Bytes()>& refuse);

}  // namespace gasmixer::sim
