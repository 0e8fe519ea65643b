#include "instruments/SerialResponse.h"

#include <algorithm>

namespace gasmixer {

std::string BytesAsText(std::span<const std::uint8_t> bytes)
{
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        if (b < 0x80) {
            text += static_cast<char>(b);
        } else {
            text += static_cast<char>(0xC0 | (b >> 6));
            text += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return text;
}

void StoreReply(TSerialResponse& response, std::span<const std::uint8_t> reply)
{
    const std::size_t count = std::min(reply.size(), response.rArray.size());
    std::copy_n(reply.begin(), count, response.rArray.begin());
    response.Response = BytesAsText(reply.first(count));
    response.ResponseLength = static_cast<std::uint8_t>(count);
    if (count >= 7) {
        response.ValueOfFirstWord = 256 * reply[3] + reply[4];
        response.ValueOfSecondWord = 256 * reply[5] + reply[6];
    } else {
        response.ValueOfFirstWord = 0;
        response.ValueOfSecondWord = 0;
    }
}

}  // namespace gasmixer
