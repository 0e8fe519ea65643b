#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace gasmixer::sim {

// Instrument time runs on the monotonic clock: wall-clock steps must not
// make flows jump or totalizers run backwards.
using SimClock = std::chrono::steady_clock;
using TimePoint = SimClock::time_point;

using Bytes = std::vector<std::uint8_t>;

}  // namespace gasmixer::sim
