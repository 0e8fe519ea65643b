#include "instruments/VogtlinFrames.h"

#include "instruments/ModbusCrc.h"

#include <algorithm>
#include <bit>

namespace gasmixer {
namespace {

constexpr std::uint8_t ReadHoldingRegisters = 3;
constexpr std::uint8_t WriteSingleRegister = 6;
constexpr std::uint8_t WriteMultipleRegisters = 16;
constexpr std::size_t S50Length = 50;

template <typename Frame>
void AppendCrc(Frame& frame, std::size_t bodyLength)
{
    const std::uint16_t crc = ModbusCrc16(std::span<const std::uint8_t>(frame.data(), bodyLength));
    frame[bodyLength] = static_cast<std::uint8_t>(crc & 0xFF);
    frame[bodyLength + 1] = static_cast<std::uint8_t>(crc >> 8);
}

std::uint8_t High(std::uint32_t value) { return static_cast<std::uint8_t>((value >> 8) & 0xFF); }
std::uint8_t Low(std::uint32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

// Address, function 16, register, register count, byte count, then the data
// bytes and room for the CRC.
std::vector<std::uint8_t> WriteMultipleHeader(std::uint32_t deviceAddress,
                                              std::uint32_t memoryAddress,
                                              std::uint8_t registers)
{
    std::vector<std::uint8_t> frame{Low(deviceAddress), WriteMultipleRegisters,
                                    High(memoryAddress), Low(memoryAddress), 0, registers,
                                    static_cast<std::uint8_t>(2 * registers)};
    frame.reserve(frame.size() + 2u * registers + 2u);
    return frame;
}

std::vector<std::uint8_t> WithCrc(std::vector<std::uint8_t> frame)
{
    const std::size_t body = frame.size();
    frame.resize(body + 2);
    AppendCrc(frame, body);
    return frame;
}

}  // namespace

std::uint8_t RegisterCount(TVogtlinValueType type)
{
    switch (type) {
    case TVogtlinValueType::U8:
    case TVogtlinValueType::U16: return 1;
    case TVogtlinValueType::U32:
    case TVogtlinValueType::F32: return 2;
    case TVogtlinValueType::S8: return 4;
    case TVogtlinValueType::S50: return 25;
    }
    return 1;
}

std::uint32_t ExpectedReplyLength(TVogtlinValueType type)
{
    return 5u + 2u * RegisterCount(type);
}

ReadRequest BuildReadRequest(std::uint32_t deviceAddress, std::uint32_t memoryAddress,
                             TVogtlinValueType type)
{
    ReadRequest frame{Low(deviceAddress), ReadHoldingRegisters, High(memoryAddress),
                      Low(memoryAddress), 0, RegisterCount(type)};
    AppendCrc(frame, 6);
    return frame;
}

std::vector<std::uint8_t> BuildWriteU8Request(std::uint32_t deviceAddress,
                                              std::uint32_t memoryAddress, std::uint16_t value)
{
    return WithCrc({Low(deviceAddress), WriteSingleRegister, High(memoryAddress),
                    Low(memoryAddress), High(value), Low(value)});
}

std::vector<std::uint8_t> BuildWriteU16Request(std::uint32_t deviceAddress,
                                               std::uint32_t memoryAddress, std::uint32_t value)
{
    std::vector<std::uint8_t> frame = WriteMultipleHeader(deviceAddress, memoryAddress, 1);
    frame.insert(frame.end(), {High(value), Low(value)});
    return WithCrc(std::move(frame));
}

std::vector<std::uint8_t> BuildWriteF32Request(std::uint32_t deviceAddress,
                                               std::uint32_t memoryAddress, float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    std::vector<std::uint8_t> frame = WriteMultipleHeader(deviceAddress, memoryAddress, 2);
    frame.insert(frame.end(), {static_cast<std::uint8_t>(bits >> 24),
                               static_cast<std::uint8_t>((bits >> 16) & 0xFF), High(bits),
                               Low(bits)});
    return WithCrc(std::move(frame));
}

std::vector<std::uint8_t> BuildWriteS50Request(std::uint32_t deviceAddress,
                                               std::uint32_t memoryAddress, std::string_view value)
{
    std::vector<std::uint8_t> frame = WriteMultipleHeader(deviceAddress, memoryAddress, 25);
    const std::string_view text = value.substr(0, S50Length);
    frame.insert(frame.end(), text.begin(), text.end());
    frame.resize(frame.size() + (S50Length - text.size()), ' ');
    return WithCrc(std::move(frame));
}

}  // namespace gasmixer
