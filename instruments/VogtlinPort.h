#pragma once

#include "instruments/SerialPort.h"

#include <cstdint>
#include <string_view>

namespace gasmixer {

// Register reads and writes of the mass flow controllers, one exchange each.
// Writes do not wait for the controller's acknowledgement.
class TVogtlinPort : public TSerialPort {
public:
    TSerialResponse ReadU8(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress);
    TSerialResponse ReadU16(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress);
    TSerialResponse ReadU32(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress);
    TSerialResponse ReadF32(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress);
    TSerialResponse ReadS8(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress);
    TSerialResponse ReadS50(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress);

    TSerialResponse WriteU8(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress,
                            std::uint16_t aValue);
    TSerialResponse WriteU16(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress,
                             std::uint32_t aValue);
    TSerialResponse WriteF32(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress,
                             float aValue);
    TSerialResponse WriteS50(std::uint32_t DeviceAddress, std::uint32_t MemoryAddress,
                             std::string_view aValue);
};

// The MFC line: 9600 baud, two stop bits, no parity, 10 ms poll pause,
// 50 ms wait for the first reply byte.
void ApplyMfcLineSettings(TSerialPort& port);

}  // namespace gasmixer
