#include "instruments/ModbusCrc.h"
#include "instruments/VogtlinFrames.h"
#include "instruments/VogtlinRegisters.h"

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The frame without its CRC, after checking the CRC is the body's, low byte first.
Bytes Body(const Bytes& frame)
{
    EXPECT_GE(frame.size(), 3u);
    const Bytes body(frame.begin(), frame.end() - 2);
    const std::uint16_t crc = ModbusCrc16(body);
    EXPECT_EQ(frame[frame.size() - 2], crc & 0xFF);
    EXPECT_EQ(frame[frame.size() - 1], crc >> 8);
    return body;
}

Bytes ReadFrame(std::uint32_t address, std::uint32_t reg, TVogtlinValueType type)
{
    const ReadRequest r = BuildReadRequest(address, reg, type);
    return Bytes(r.begin(), r.end());
}

TEST(VogtlinFrames, ReadsAskForTheTypesRegisterCount)
{
    struct Case {
        TVogtlinValueType type;
        std::uint8_t registers;
        std::uint32_t replyLength;
    };
    for (const Case c : {Case{TVogtlinValueType::U8, 1, 7}, Case{TVogtlinValueType::U16, 1, 7},
                         Case{TVogtlinValueType::U32, 2, 9}, Case{TVogtlinValueType::F32, 2, 9},
                         Case{TVogtlinValueType::S8, 4, 13}, Case{TVogtlinValueType::S50, 25, 55}}) {
        EXPECT_EQ(Body(ReadFrame(1, 0x6020, c.type)), (Bytes{1, 3, 0x60, 0x20, 0, c.registers}));
        EXPECT_EQ(ExpectedReplyLength(c.type), c.replyLength);
    }
}

TEST(VogtlinFrames, KnownReadFrameByteForByte)
{
    // Totalizer of MFC 1, CRC as any Modbus master computes it.
    EXPECT_EQ(ReadFrame(1, RegisterNumber(TVogtlinRegister::Totalizer), TVogtlinValueType::F32),
              (Bytes{0x01, 0x03, 0x00, 0x04, 0x00, 0x02, 0x85, 0xCA}));
}

TEST(VogtlinFrames, OnlyTheLowBitsOfAddressesTravel)
{
    EXPECT_EQ(Body(ReadFrame(300, 0x12345, TVogtlinValueType::U8)),
              (Bytes{0x2C, 3, 0x23, 0x45, 0, 1}));
    EXPECT_EQ(Body(BuildWriteU8Request(0x1FF, 0x10006, 1)), (Bytes{0xFF, 6, 0, 6, 0, 1}));
}

TEST(VogtlinFrames, WriteF32SendsTheSingleMostSignificantByteFirst)
{
    const Bytes frame = BuildWriteF32Request(2, 6, 0.22f);
    ASSERT_EQ(frame.size(), 13u);
    EXPECT_EQ(Body(frame), (Bytes{0x02, 0x10, 0x00, 0x06, 0x00, 0x02, 0x04, 0x3E, 0x61, 0x47, 0xAE}));
    EXPECT_EQ(Body(BuildWriteF32Request(1, 25472, 1.0f)),
              (Bytes{1, 0x10, 0x63, 0x80, 0, 2, 4, 0x3F, 0x80, 0, 0}));
}

TEST(VogtlinFrames, WriteU8AndU16CarryTheValueInOneRegister)
{
    const Bytes u8 = BuildWriteU8Request(1, 16697, 300);
    ASSERT_EQ(u8.size(), 8u);
    EXPECT_EQ(Body(u8), (Bytes{1, 6, 0x41, 0x39, 0x01, 0x2C}));

    const Bytes u16 = BuildWriteU16Request(2, 24866, 0x12345678);
    ASSERT_EQ(u16.size(), 11u);
    EXPECT_EQ(Body(u16), (Bytes{2, 16, 0x61, 0x22, 0, 1, 2, 0x56, 0x78}));
}

TEST(VogtlinFrames, WriteS50SendsExactlyFiftyCharacters)
{
    struct Case {
        std::string text;
        std::string sent;
    };
    const std::string fifty(50, 'x');
    for (const Case& c : {Case{"Nitrogen", "Nitrogen" + std::string(42, ' ')}, Case{fifty, fifty},
                          Case{fifty + "overflow", fifty}, Case{"", std::string(50, ' ')}}) {
        const Bytes frame = BuildWriteS50Request(1, 24610, c.text);
        ASSERT_EQ(frame.size(), 59u);
        const Bytes body = Body(frame);
        EXPECT_EQ(Bytes(body.begin(), body.begin() + 7), (Bytes{1, 16, 0x60, 0x22, 0, 25, 50}));
        EXPECT_EQ(std::string(body.begin() + 7, body.end()), c.sent);
    }
}

}  // namespace
}  // namespace gasmixer
