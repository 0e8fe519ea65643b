#pragma once

#include "sim/SimClock.h"

#include <chrono>
#include <cstddef>
#include <limits>
#include <optional>
#include <span>

namespace gasmixer::sim {

// How long a frame is, judged from its first bytes.
using FrameLengthRule = std::size_t (*)(std::span<const std::uint8_t> prefix);
inline constexpr std::size_t NeedMoreBytes = 0;
inline constexpr std::size_t EndsAtSilence = std::numeric_limits<std::size_t>::max();

// Cuts a received byte stream into frames. A frame ends when the rule's length
// is reached, or, when the rule cannot tell, at a silence on the line. A
// silence also drops a partial frame, so a request cut short cannot swallow
// the start of the next one.
class Framer {
public:
    Framer(FrameLengthRule rule, std::chrono::milliseconds silence);

    std::vector<Bytes> Feed(std::span<const std::uint8_t> bytes, TimePoint now);

    // When the partial frame, if any, is to be closed by silence.
    std::optional<TimePoint> Deadline() const;
    // Closes the partial frame once the silence has passed: returns it when
    // its length could only be told by silence, drops it otherwise.
    std::optional<Bytes> Expire(TimePoint now);

private:
    FrameLengthRule rule_;
    std::chrono::milliseconds silence_;
    Bytes partial_;
    TimePoint lastByte_{};
};

}  // namespace gasmixer::sim
