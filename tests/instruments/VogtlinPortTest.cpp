#include "instruments/VogtlinPort.h"
#include "tests/instruments/ScriptedPeer.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>

namespace gasmixer {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::PeerLine;
using test::ScriptedPeer;

TVogtlinPort MfcPort(const std::string& path)
{
    TVogtlinPort port;
    ApplyMfcLineSettings(port);
    port.Port = path;
    return port;
}

std::uint32_t Bits(float value) { return std::bit_cast<std::uint32_t>(value); }

TEST(VogtlinPort, MfcLineSettings)
{
    TSerialPort port;
    ApplyMfcLineSettings(port);
    EXPECT_EQ(port.BaudRate, 9600);
    EXPECT_EQ(port.StopBits, 2);
    EXPECT_EQ(port.Parity, 0);
    EXPECT_EQ(port.WindowsReadLoopTimeoutMS, 10u);
    EXPECT_EQ(port.ReadoutTimeoutMS, 50u);
}

TEST(VogtlinPort, ReadSendsItsFrameAndDecodesTheReply)
{
    ScriptedPeer peer(test::Answer({2, 3, 4, 0x3E, 0x61, 0x47, 0xAE, 0, 0}));
    TVogtlinPort port = MfcPort(peer.Path());

    const TSerialResponse r = port.ReadF32(2, 24608);

    EXPECT_EQ(r.Status, "");
    EXPECT_EQ(Bits(r.AsFloat), 0x3E6147AEu);
    ASSERT_EQ(peer.Requests().size(), 1u);
    EXPECT_EQ(peer.Requests()[0], (Bytes{2, 3, 0x60, 0x20, 0, 2, 0xDB, 0xF2}));
}

// Replies no controller should give, and no controller at all.
struct BadReplyCase {
    const char* name;
    ScriptedPeer::Script script;
    const char* status;
};

class VogtlinPortBadReply : public testing::TestWithParam<BadReplyCase> {};

TEST_P(VogtlinPortBadReply, EndsInAReadStatusAndANaN)
{
    ScriptedPeer peer(GetParam().script);
    TVogtlinPort port = MfcPort(peer.Path());

    const auto start = std::chrono::steady_clock::now();
    const TSerialResponse r = port.ReadF32(1, 4);

    EXPECT_EQ(r.Status, GetParam().status);
    EXPECT_EQ(Bits(r.AsFloat), 0xFFC00000u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, VogtlinPortBadReply,
    testing::Values(
        BadReplyCase{"Silence", test::Silent(), "No result to read"},
        BadReplyCase{"Exception", test::Answer({1, 0x83, 2, 0xC0, 0xF1}),
                     "Wrong amount of data waiting"},
        BadReplyCase{"Short", test::Answer({1, 3, 4, 0x3F}), "Wrong amount of data waiting"},
        BadReplyCase{"Garbage", test::Answer(Bytes(23, 0xA5)), "Wrong amount of data waiting"},
        // 256 bytes and more read as a count of 0.
        BadReplyCase{"Flood", test::Answer(Bytes(600, 0x5A)), "No result to read"},
        BadReplyCase{"TwoReplies",
                     test::Answer({1, 3, 4, 0x3F, 0x80, 0, 0, 0xF7, 0xCF, 1, 3, 4, 0x3F, 0x80, 0, 0,
                                   0xF7, 0xCF}),
                     "Wrong amount of data waiting"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VogtlinPort, AFailedExchangeReadsAsNoResult)
{
    TVogtlinPort port = MfcPort("ttyNoSuchPort7");
    EXPECT_EQ(port.ReadS8(1, 35).Status, "No result to read");
    EXPECT_EQ(port.ReadU16(1, 24866).AsInteger, 0);
}

TEST(VogtlinPort, WritesReportTheSerialStatusAndPauseAfterwards)
{
    ScriptedPeer peer(test::Silent());
    TVogtlinPort port = MfcPort(peer.Path());

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.WriteU8(1, 16697, 7).Status, "");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 10ms);
    ASSERT_TRUE(peer.WaitForRequests(1));
    EXPECT_EQ(peer.Requests()[0].size(), 8u);

    port.Port = "ttyNoSuchPort7";
    EXPECT_EQ(port.WriteF32(1, 6, 0.5f).Status, "Failed to setup Com port, port in use");
}

}  // namespace
}  // namespace gasmixer
