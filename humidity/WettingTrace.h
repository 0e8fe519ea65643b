#pragma once

#include "humidity/WettingCycle.h"

#include <cstdint>
#include <string>

namespace gasmixer {

// The debug-memo line of one hand-over between the wetting worker and the
// window: the cycle counter, the stop order and acknowledgement (-1 true,
// 0 false), and the cycle's figures.
std::string WettingTraceLine(std::int32_t counter, bool stop, bool stopped, const TWettingCycle& cycle);

}  // namespace gasmixer
