#include "sim/Framer.h"
#include "sim/ModbusRtu.h"
#include "sim/RelayBoard.h"

#include <gtest/gtest.h>

namespace gasmixer::sim {
namespace {

using namespace std::chrono_literals;

const TimePoint t0{};

struct LengthCase {
    const char* name;
    Bytes prefix;
    std::size_t length;
};

void PrintTo(const LengthCase& c, std::ostream* os)
{
    *os << c.name;
}

class ModbusRequestLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(ModbusRequestLengthTest, IsToldFromTheFirstBytes)
{
    EXPECT_EQ(ModbusRequestLength(GetParam().prefix), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Functions, ModbusRequestLengthTest,
    ::testing::Values(LengthCase{"AddressOnly", {1}, NeedMoreBytes}, LengthCase{"Read", {1, 3}, 8},
                      LengthCase{"WriteSingle", {2, 6}, 8},
                      LengthCase{"WriteMultipleBeforeByteCount", {1, 16, 0, 6, 0, 2}, NeedMoreBytes},
                      LengthCase{"WriteFloat", {1, 16, 0, 6, 0, 2, 4}, 13},
                      LengthCase{"WriteFiftyCharacters", {1, 16, 0x60, 0x22, 0, 25, 50}, 59},
                      LengthCase{"UnknownFunction", {1, 17}, EndsAtSilence}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Framer, CutsBackToBackRequestsByLength)
{
    Framer framer(&ModbusRequestLength, 10ms);
    const Bytes stream{1, 3, 0, 35, 0, 4, 0xAA, 0xBB, 2, 6, 0x41, 0x39, 0, 3, 0xCC, 0xDD};
    const auto frames = framer.Feed(stream, t0);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], Bytes(stream.begin(), stream.begin() + 8));
    EXPECT_EQ(frames[1], Bytes(stream.begin() + 8, stream.end()));
    EXPECT_FALSE(framer.Deadline());
}

TEST(Framer, RequestSplitAcrossReadsIsJoined)
{
    Framer framer(&ModbusRequestLength, 10ms);
    EXPECT_TRUE(framer.Feed(Bytes{1, 3, 0}, t0).empty());
    const auto frames = framer.Feed(Bytes{35, 0, 4, 0xAA, 0xBB}, t0 + 2ms);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].size(), 8u);
}

TEST(Framer, SilenceDropsAPartialRequest)
{
    Framer framer(&ModbusRequestLength, 10ms);
    framer.Feed(Bytes{1, 3, 0, 35}, t0);
    EXPECT_EQ(framer.Deadline(), t0 + 10ms);
    const Bytes next{2, 3, 0, 4, 0, 2, 0xAA, 0xBB};
    const auto frames = framer.Feed(next, t0 + 11ms);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], next);
}

TEST(Framer, SilenceEndsAFrameOfUnknownLength)
{
    Framer framer(&ModbusRequestLength, 10ms);
    framer.Feed(Bytes{1, 17, 0xC0, 0x2C}, t0);
    EXPECT_FALSE(framer.Expire(t0 + 9ms));
    const auto frame = framer.Expire(t0 + 10ms);
    ASSERT_TRUE(frame);
    EXPECT_EQ(*frame, (Bytes{1, 17, 0xC0, 0x2C}));
    EXPECT_FALSE(framer.Deadline());
}

TEST(Framer, RelayBoardSkipsStrayBytesAndCutsByCommand)
{
    RelayBoard board;
    Framer framer(board.RequestLength(), 10ms);
    const auto frames = framer.Feed(Bytes{0x00, 0x55, 254, 33, 254, 40, 0x18, 254, 158}, t0);
    std::vector<Bytes> commands;
    for (const Bytes& f : frames)
        if (f[0] == RelayStart) commands.push_back(f);
    EXPECT_EQ(commands, (std::vector<Bytes>{{254, 33}, {254, 40, 0x18}, {254, 158}}));
}

}  // namespace
}  // namespace gasmixer::sim
