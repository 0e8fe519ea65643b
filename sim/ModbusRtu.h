#pragma once

#include "sim/SimClock.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace gasmixer::sim {

enum class ModbusFunction : std::uint8_t {
    ReadHoldingRegisters = 3,
    WriteSingleRegister = 6,
    WriteMultipleRegisters = 16,
};

enum class ModbusException : std::uint8_t {
    None = 0,
    IllegalFunction = 1,
    IllegalDataAddress = 2,
    IllegalDataValue = 3,
    DeviceFailure = 4,
};

// Length of an RTU request from its first bytes (see Framer): functions the
// controllers know have a fixed or counted length, others end at silence.
std::size_t ModbusRequestLength(std::span<const std::uint8_t> prefix);

// A frame of at least address, function and CRC whose CRC matches.
bool HasValidCrc(std::span<const std::uint8_t> frame);

// Appends the CRC, low byte first.
void AppendCrc(Bytes& frame);

Bytes ExceptionReply(std::uint8_t address, std::uint8_t function, ModbusException code);

}  // namespace gasmixer::sim
