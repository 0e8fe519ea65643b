#pragma once

#include "sim/SimClock.h"

#include <chrono>
#include <optional>

namespace gasmixer {
class TSerialPort;
}

namespace gasmixer::sim {

// How long one character lasts on a line with these settings: a start bit,
// eight data bits, the parity bit if any and the stop bits.
std::chrono::nanoseconds CharacterTime(const TSerialPort& settings);

// The sending end of a wire: each byte reaches the far end one character
// time after the one before it, and a reply that is due while another is
// still on the wire follows it without a gap. With a character time of zero
// every byte arrives the moment it is due.
class WireTransmitter {
public:
    explicit WireTransmitter(std::chrono::nanoseconds characterTime) : characterTime_(characterTime) {}

    void Send(TimePoint due, const Bytes& bytes);
    // Takes off the wire the bytes that have fully arrived by `now`.
    Bytes Arrived(TimePoint now);
    // When the next byte will have arrived; nothing while the wire is idle.
    std::optional<TimePoint> NextArrival() const;
    void Clear() { onWire_.clear(); }

private:
    std::chrono::nanoseconds characterTime_;
    Bytes onWire_;             // oldest first
    TimePoint nextArrival_{};  // of the first byte on the wire
    TimePoint lineFree_{};     // when the last byte on the wire has arrived
};

}  // namespace gasmixer::sim
