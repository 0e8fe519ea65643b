#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

// Modbus RTU request frames for the flow controllers' holding registers.
// Only the low byte of a device address and the low 16 bits of a register
// number travel; multi-byte values go most significant byte first, the CRC
// low byte first.

namespace gasmixer {

enum class TVogtlinValueType { U8, U16, U32, F32, S8, S50 };

// Registers a value of this type occupies.
std::uint8_t RegisterCount(TVogtlinValueType type);

// Length of the reply to a read: address, function, byte count, data, CRC.
std::uint32_t ExpectedReplyLength(TVogtlinValueType type);

using ReadRequest = std::array<std::uint8_t, 8>;

ReadRequest BuildReadRequest(std::uint32_t deviceAddress, std::uint32_t memoryAddress,
                             TVogtlinValueType type);
std::vector<std::uint8_t> BuildWriteU8Request(std::uint32_t deviceAddress,
                                              std::uint32_t memoryAddress, std::uint16_t value);
std::vector<std::uint8_t> BuildWriteU16Request(std::uint32_t deviceAddress,
                                               std::uint32_t memoryAddress, std::uint32_t value);
std::vector<std::uint8_t> BuildWriteF32Request(std::uint32_t deviceAddress,
                                               std::uint32_t memoryAddress, float value);
// Text shorter than 50 characters is padded with blanks; longer is cut.
std::vector<std::uint8_t> BuildWriteS50Request(std::uint32_t deviceAddress,
                                               std::uint32_t memoryAddress, std::string_view value);

}  // namespace gasmixer
