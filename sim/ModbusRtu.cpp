#include "sim/ModbusRtu.h"

#include "instruments/ModbusCrc.h"
#include "sim/Framer.h"

namespace gasmixer::sim {

std::size_t ModbusRequestLength(std::span<const std::uint8_t> prefix)
{
    if (prefix.size() < 2) return NeedMoreBytes;
    switch (static_cast<ModbusFunction>(prefix[1])) {
    case ModbusFunction::ReadHoldingRegisters:
    case ModbusFunction::WriteSingleRegister:
        return 8;
    case ModbusFunction::WriteMultipleRegisters:
        // address, function, start (2), count (2), byte count, data, CRC (2)
        return prefix.size() < 7 ? NeedMoreBytes : 9 + std::size_t{prefix[6]};
    }
    return EndsAtSilence;
}

bool HasValidCrc(std::span<const std::uint8_t> frame)
{
    if (frame.size() < 4) return false;
    const std::uint16_t crc = ModbusCrc16(frame.first(frame.size() - 2));
    return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}

void AppendCrc(Bytes& frame)
{
    const std::uint16_t crc = ModbusCrc16(frame);
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
}

Bytes ExceptionReply(std::uint8_t address, std::uint8_t function, ModbusException code)
{
    Bytes reply{address, static_cast<std::uint8_t>(function | 0x80), static_cast<std::uint8_t>(code)};
    AppendCrc(reply);
    return reply;
}

}  // namespace gasmixer::sim
