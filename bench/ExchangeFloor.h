#pragma once

#include <chrono>
#include <cstdint>

namespace gasmixer::bench {

// The least time an awaited exchange can take with a device that answers at
// once: the pause after the write, the polls until the first reply byte is
// in, the pause after that poll, and the 20 ms of silence that end the read.
// With wire time the bytes travel at the line's speed (start bit, 8 data
// bits, stop bits); pseudo-terminals do not pace them, so both are given.
struct ExchangeShape {
    std::uint32_t pauseMs;
    std::uint32_t requestBytes;
    std::uint32_t replyBytes;
    std::uint32_t baudRate;
    std::uint32_t stopBits;
};

double ExchangeFloorMs(const ExchangeShape& shape, bool withWireTime);

}  // namespace gasmixer::bench
