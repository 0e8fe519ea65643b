#pragma once

#include <cstdint>
#include <termios.h>

namespace gasmixer {

// Raw 8-bit line without flow control at the given speed, stop bits
// (0 one, 1 one and a half, sent as two, 2 two) and parity (0 none, 1 odd,
// 2 even, 3 mark, 4 space; generated, not checked). False for values the
// line cannot take.
bool ComposeLineSettings(termios& tio, std::int32_t baudRate, std::int32_t stopBits,
                         std::int32_t parity);

}  // namespace gasmixer
