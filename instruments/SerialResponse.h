#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace gasmixer {

// The outcome of one serial exchange. A fresh record is all empty or zero;
// each exchange fills its own.
struct TSerialResponse {
    std::string SentMessage;  // the text sent by Send2
    std::string Response;     // the reply as text, one character per byte (UTF-8)
    std::array<std::uint8_t, 256> rArray{};
    std::int32_t ValueOfFirstWord = 0;   // 256 * byte 4 + byte 5 of a register reply
    std::int32_t ValueOfSecondWord = 0;  // 256 * byte 6 + byte 7
    std::string Status;                  // empty on success
    std::uint8_t ResponseLength = 0;     // one byte wide: a 256-byte reply reads 0

    // Decoded forms, filled by the register reads.
    std::string AsHex;  // "3F 80 00 00 "
    std::string AsInt;  // "63 128 0 0 "
    float AsFloat = 0.0f;
    std::int32_t AsInteger = 0;
    std::string AsString;
};

// Stores the bytes of a reply as an exchange reports them: rArray from its
// first element, Response, ResponseLength and the two word values. Bytes
// beyond rArray's size are dropped.
void StoreReply(TSerialResponse& response, std::span<const std::uint8_t> reply);

// Bytes 0..255 as text, one character each (Latin-1 read as UTF-8).
std::string BytesAsText(std::span<const std::uint8_t> bytes);

}  // namespace gasmixer
