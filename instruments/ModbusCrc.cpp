#include "instruments/ModbusCrc.h"

#include <array>

namespace gasmixer {
namespace {

constexpr std::array<std::uint16_t, 256> MakeTable()
{
    std::array<std::uint16_t, 256> table{};
    for (std::uint16_t i = 0; i < 256; ++i) {
        std::uint16_t crc = i;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
        table[i] = crc;
    }
    return table;
}

constexpr auto CrcTable = MakeTable();

}  // namespace

std::uint16_t ModbusCrc16(std::span<const std::uint8_t> bytes)
{
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : bytes) crc = static_cast<std::uint16_t>((crc >> 8) ^ CrcTable[(crc ^ b) & 0xFF]);
    return crc;
}

}  // namespace gasmixer
