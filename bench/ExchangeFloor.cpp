#include "bench/ExchangeFloor.h"

#include <algorithm>

namespace gasmixer::bench {

double ExchangeFloorMs(const ExchangeShape& shape, bool withWireTime)
{
    constexpr double ReadIntervalMs = 20.0;
    const double charMs = withWireTime ? 1000.0 * (1 + 8 + shape.stopBits) / shape.baudRate : 0.0;
    const double firstByteIn = charMs * (shape.requestBytes + 1);
    const double lastByteIn = charMs * (shape.requestBytes + shape.replyBytes);
    const double pause = shape.pauseMs;

    double poll = pause;  // the first poll follows the pause after the write
    while (poll < firstByteIn) poll += pause;
    const double readStart = poll + pause;
    return std::max(readStart, lastByteIn) + ReadIntervalMs;
}

}  // namespace gasmixer::bench
