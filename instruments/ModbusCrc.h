#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace gasmixer {

// CRC-16/MODBUS: reflected polynomial 0xA001, initial 0xFFFF, no final xor.
// Sent low byte first.
std::uint16_t ModbusCrc16(std::span<const std::uint8_t> bytes);

}  // namespace gasmixer
