#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace gasmixer::sim {

using Words = std::vector<std::uint16_t>;

// Register encodings of the controllers: every quantity most significant
// byte first, high register first; text one character per byte.
Words EncodeF32(float value);
float DecodeF32(std::span<const std::uint16_t> words);  // two words
// Text in `registers` registers, padded with blanks and cut to fit.
Words EncodeText(std::string_view text, std::size_t registers);

// Registers as they travel in a frame.
void AppendWords(std::vector<std::uint8_t>& bytes, std::span<const std::uint16_t> words);
Words ReadWords(std::span<const std::uint8_t> bytes);  // an even number of bytes

}  // namespace gasmixer::sim
