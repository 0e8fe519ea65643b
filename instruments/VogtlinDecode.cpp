#include "instruments/VogtlinDecode.h"

#include <bit>
#include <cstdio>

namespace gasmixer {
namespace {

constexpr const char* NoResult = "No result to read";
constexpr const char* WrongLength = "Wrong amount of data waiting";
constexpr std::uint32_t FailedFloatBits = 0xFFC00000u;  // quiet NaN, sign set
constexpr std::size_t DataStart = 3;                    // byte 4, counted from 1

std::uint32_t BigEndian32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
           (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}

std::string AcceptedText(const std::uint8_t* p, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        if (IsAcceptedTextByte(p[i])) text += static_cast<char>(p[i]);
    return text;
}

std::string TrimBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void DecodeValue(TVogtlinValueType type, TSerialResponse& r)
{
    const std::uint8_t* data = r.rArray.data() + DataStart;
    switch (type) {
    case TVogtlinValueType::U8:
    case TVogtlinValueType::U16:
        r.AsInteger = 256 * data[0] + data[1];
        r.AsFloat = static_cast<float>(r.AsInteger);
        break;
    case TVogtlinValueType::U32: {
        const std::uint32_t value = BigEndian32(data);
        r.AsInteger = std::bit_cast<std::int32_t>(value);
        r.AsFloat = static_cast<float>(value);
        break;
    }
    case TVogtlinValueType::F32: r.AsFloat = std::bit_cast<float>(BigEndian32(data)); break;
    case TVogtlinValueType::S8: r.AsString = TrimBlanks(AcceptedText(data, 8)); break;
    case TVogtlinValueType::S50: r.AsString = AcceptedText(data, 50); break;
    }
}

}  // namespace

bool IsAcceptedTextByte(std::uint8_t b)
{
    return b == ' ' || b == '%' || b == '*' || b == ',' || b == '/' || b == '_' ||
           (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

TSerialResponse DecodeRead(TVogtlinValueType type, TSerialResponse r)
{
    if (r.ResponseLength == ExpectedReplyLength(type)) {
        for (std::size_t i = 0; i < r.ResponseLength; ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X ", r.rArray[i]);
            r.AsHex += hex;
            r.AsInt += std::to_string(r.rArray[i]) + ' ';
        }
        DecodeValue(type, r);
        r.Status.clear();
        return r;
    }
    r.Status = r.ResponseLength == 0 ? NoResult : WrongLength;
    if (type == TVogtlinValueType::F32) r.AsFloat = std::bit_cast<float>(FailedFloatBits);
    return r;
}

}  // namespace gasmixer
