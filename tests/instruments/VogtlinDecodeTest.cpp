#include "instruments/VogtlinDecode.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace gasmixer {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A register reply around the data bytes; the CRC bytes are not checked by
// the decoder, so they are left as a fixed filler.
Bytes Reply(const Bytes& data, std::uint8_t address = 1)
{
    Bytes reply{address, 3, static_cast<std::uint8_t>(data.size())};
    reply.insert(reply.end(), data.begin(), data.end());
    reply.insert(reply.end(), {0xAB, 0xCD});
    return reply;
}

TSerialResponse Decode(TVogtlinValueType type, const Bytes& reply)
{
    TSerialResponse exchanged;
    StoreReply(exchanged, reply);
    return DecodeRead(type, exchanged);
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(VogtlinDecode, HexAndDecimalFormsCoverTheWholeReply)
{
    const TSerialResponse r = Decode(TVogtlinValueType::F32, Reply({0x3F, 0x80, 0x00, 0x0A}));
    EXPECT_EQ(r.AsHex, "01 03 04 3F 80 00 0A AB CD ");
    EXPECT_EQ(r.AsInt, "1 3 4 63 128 0 10 171 205 ");
    EXPECT_EQ(r.Status, "");
}

struct FloatCase {
    Bytes data;
    std::uint32_t bits;
};

class VogtlinDecodeF32 : public testing::TestWithParam<FloatCase> {};

TEST_P(VogtlinDecodeF32, DecodesAsTheStandardSays)
{
    const TSerialResponse r = Decode(TVogtlinValueType::F32, Reply(GetParam().data));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(r.AsFloat), GetParam().bits);
}

INSTANTIATE_TEST_SUITE_P(Values, VogtlinDecodeF32,
                         testing::Values(FloatCase{{0x3F, 0x80, 0, 0}, 0x3F800000},  // 1.0
                                         FloatCase{{0, 0, 0, 0}, 0},
                                         FloatCase{{0x80, 0, 0, 0}, 0x80000000},        // -0.0
                                         FloatCase{{0, 0, 0, 1}, 1},                    // subnormal
                                         FloatCase{{0x7F, 0x80, 0, 0}, 0x7F800000},     // +inf
                                         FloatCase{{0xFF, 0x80, 0, 0}, 0xFF800000},     // -inf
                                         FloatCase{{0x7F, 0xC0, 0, 1}, 0x7FC00001},     // NaN payload
                                         FloatCase{{0x3E, 0x61, 0x47, 0xAE}, 0x3E6147AE}));

TEST(VogtlinDecode, IntegerReadsUseTheFullRegisters)
{
    const TSerialResponse u8 = Decode(TVogtlinValueType::U8, Reply({0x01, 0x2C}));
    EXPECT_EQ(u8.AsInteger, 300);
    EXPECT_EQ(u8.AsFloat, 300.0f);

    const TSerialResponse u16 = Decode(TVogtlinValueType::U16, Reply({0xFF, 0xFF}));
    EXPECT_EQ(u16.AsInteger, 65535);

    const TSerialResponse u32 = Decode(TVogtlinValueType::U32, Reply({0xFF, 0xFF, 0xFF, 0xFE}));
    EXPECT_EQ(u32.AsInteger, -2);  // the 32-bit pattern
    EXPECT_EQ(u32.AsFloat, 4294967294.0f);
}

struct TextCase {
    TVogtlinValueType type;
    Bytes data;
    std::string text;
};

class VogtlinDecodeText : public testing::TestWithParam<TextCase> {};

TEST_P(VogtlinDecodeText, KeepsOnlyTheAcceptedCharacters)
{
    EXPECT_EQ(Decode(GetParam().type, Reply(GetParam().data)).AsString, GetParam().text);
}

Bytes Padded(const std::string& text, std::size_t size, std::uint8_t filler)
{
    Bytes bytes = Text(text);
    bytes.resize(size, filler);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, VogtlinDecodeText,
    testing::Values(TextCase{TVogtlinValueType::S8, Padded("N2", 8, 0), "N2"},
                    TextCase{TVogtlinValueType::S8, Padded("Ar*", 8, ' '), "Ar*"},
                    TextCase{TVogtlinValueType::S8, Text("  g/min "), "g/min"},
                    TextCase{TVogtlinValueType::S8, Text("GSC-B4.1"), "GSCB41"},
                    TextCase{TVogtlinValueType::S8, Bytes{'O', 0xB2, 0x80, 0xFF, '\t', '%', 0, '_'}, "O%_"},
                    TextCase{TVogtlinValueType::S50, Padded("O2", 50, ' '), "O2" + std::string(48, ' ')},
                    TextCase{TVogtlinValueType::S50, Padded(" Air, 5% CO2 / N2*", 50, 0),
                             " Air, 5% CO2 / N2*"},
                    TextCase{TVogtlinValueType::S50, Padded("a.b-c;d", 50, 0x7F), "abcd"}));

TEST(VogtlinDecode, RepliesOfTheRightLengthAreNotJudgedFurther)
{
    Bytes reply = Reply({0x01, 0x2C}, 9);  // wrong address
    reply[1] = 0x83;                       // wrong function
    reply[2] = 77;                         // wrong count; the CRC is wrong too
    const TSerialResponse r = Decode(TVogtlinValueType::U8, reply);
    EXPECT_EQ(r.Status, "");
    EXPECT_EQ(r.AsInteger, 300);
}

struct FailureCase {
    TVogtlinValueType type;
    std::size_t length;
    const char* status;
};

class VogtlinDecodeFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(VogtlinDecodeFailure, OtherLengthsLeaveTheValuesAloneExceptTheFloat)
{
    const FailureCase c = GetParam();
    TSerialResponse exchanged;
    exchanged.Status = "Timeout while waiting for response";
    StoreReply(exchanged, Bytes(c.length, 0x31));
    const TSerialResponse r = DecodeRead(c.type, exchanged);

    EXPECT_EQ(r.Status, c.status);
    EXPECT_EQ(r.AsHex, "");
    EXPECT_EQ(r.AsInt, "");
    EXPECT_EQ(r.AsInteger, 0);
    EXPECT_EQ(r.AsString, "");
    if (c.type == TVogtlinValueType::F32) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(r.AsFloat), 0xFFC00000u);
    } else {
        EXPECT_EQ(r.AsFloat, 0.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, VogtlinDecodeFailure,
    testing::Values(FailureCase{TVogtlinValueType::F32, 0, "No result to read"},
                    FailureCase{TVogtlinValueType::F32, 5, "Wrong amount of data waiting"},
                    FailureCase{TVogtlinValueType::F32, 7, "Wrong amount of data waiting"},
                    FailureCase{TVogtlinValueType::F32, 256, "No result to read"},
                    FailureCase{TVogtlinValueType::U8, 5, "Wrong amount of data waiting"},
                    FailureCase{TVogtlinValueType::U8, 9, "Wrong amount of data waiting"},
                    FailureCase{TVogtlinValueType::U32, 0, "No result to read"},
                    FailureCase{TVogtlinValueType::S8, 12, "Wrong amount of data waiting"},
                    FailureCase{TVogtlinValueType::S50, 54, "Wrong amount of data waiting"}));

TEST(VogtlinDecode, AcceptedCharacterSet)
{
    std::string accepted;
    for (int b = 0; b < 256; ++b)
        if (IsAcceptedTextByte(static_cast<std::uint8_t>(b))) accepted += static_cast<char>(b);
    EXPECT_EQ(accepted,
              " %*,/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
}

}  // namespace
}  // namespace gasmixer
