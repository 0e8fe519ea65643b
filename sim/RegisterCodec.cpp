#include "sim/RegisterCodec.h"

#include <bit>

namespace gasmixer::sim {

Words EncodeF32(float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return {static_cast<std::uint16_t>(bits >> 16), static_cast<std::uint16_t>(bits & 0xFFFF)};
}

float DecodeF32(std::span<const std::uint16_t> words)
{
    return std::bit_cast<float>(static_cast<std::uint32_t>(words[0]) << 16 | words[1]);
}

Words EncodeText(std::string_view text, std::size_t registers)
{
    Words words(registers, 0x2020);
    for (std::size_t i = 0; i < text.size() && i < 2 * registers; ++i) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        std::uint16_t& w = words[i / 2];
        w = i % 2 == 0 ? static_cast<std::uint16_t>(c << 8 | (w & 0xFF)) : static_cast<std::uint16_t>((w & 0xFF00) | c);
    }
    return words;
}

void AppendWords(std::vector<std::uint8_t>& bytes, std::span<const std::uint16_t> words)
{
    for (std::uint16_t w : words) {
        bytes.push_back(static_cast<std::uint8_t>(w >> 8));
        bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
    }
}

Words ReadWords(std::span<const std::uint8_t> bytes)
{
    Words words;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        words.push_back(static_cast<std::uint16_t>(bytes[i] << 8 | bytes[i + 1]));
    return words;
}

}  // namespace gasmixer::sim
