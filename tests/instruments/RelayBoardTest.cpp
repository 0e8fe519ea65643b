#include "common/TextFormat.h"
#include "instruments/RelayBoard.h"
#include "tests/instruments/ScriptedPeer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace gasmixer {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::ScriptedPeer;

TEST(RelayBoard, LineSettings)
{
    TSerialPort port;
    ApplyRelayBoardSettings(port);
    EXPECT_EQ(port.BaudRate, 115200);
    EXPECT_EQ(port.StopBits, 2);
    EXPECT_EQ(port.Parity, 0);
    EXPECT_EQ(port.WindowsReadLoopTimeoutMS, 5u);
    EXPECT_EQ(port.ReadoutTimeoutMS, 50u);
}

TEST(RelayBoard, ValveMasks)
{
    struct Case {
        int v[6];
        std::uint8_t mask;
    };
    for (const Case& c : {Case{{0, 0, 0, 0, 0, 0}, 0}, Case{{0, 0, 1, 0, 0, 0}, 4},
                          Case{{0, 0, 0, 1, 1, 0}, 24}, Case{{1, 1, 0, 0, 0, 1}, 35},
                          Case{{0, 0, 0, 1, 0, 1}, 40}, Case{{1, 1, 0, 0, 1, 0}, 19},
                          Case{{1, 1, 1, 1, 1, 1}, 63},
                          Case{{257, 0, 0, 0, 0, 0}, 1},    // low byte only
                          Case{{0, 0, 0, 0, 0, 8}, 0}}) {   // 8 << 5 wraps in 8 bits
        EXPECT_EQ(ValveMask(c.v[0], c.v[1], c.v[2], c.v[3], c.v[4], c.v[5]), c.mask);
    }
}

struct LinkCase {
    const char* name;
    ScriptedPeer::Script board;
    const char* status;
    const char* responseLine;
    bool accepted;
};

class RelayLinkTestVerdict : public testing::TestWithParam<LinkCase> {};

TEST_P(RelayLinkTestVerdict, JudgesTheFirstReplyByte)
{
    const LinkCase c = GetParam();
    ScriptedPeer board(c.board);
    TSerialPort port;
    port.Port = board.Path();
    port.Debug = true;  // the link test runs without a trace whatever the caller left

    const TSerialResponse r = RelayLinkTest(port);

    EXPECT_EQ(r.Status, c.status);
    EXPECT_EQ(RelayLinkAccepted(r), c.accepted);
    EXPECT_FALSE(port.Debug);
    EXPECT_EQ(port.BaudRate, 115200);
    const TDateTime started = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);
    const std::vector<std::string> report =
        RelayLinkTestReport(started, port.DebugMSG, RelayLinkTestFrame, r);
    const std::vector<std::string> expected{
        "Time  0: " + FormatDateTime("hh:nn:ss.zzz", started),
        "",
        "Write 254 33  : 254 33",
        std::string("Comm Status   : ") + c.status,
        c.responseLine,
        c.accepted ? "Relay board controlling solenoids is OK"
                   : "Relay board controlling solenoids was NOT OK"};
    EXPECT_EQ(report, expected);
    ASSERT_TRUE(board.WaitForRequests(1));
    EXPECT_EQ(board.Requests()[0], (Bytes{254, 33}));
}

INSTANTIATE_TEST_SUITE_P(
    Boards, RelayLinkTestVerdict,
    testing::Values(
        LinkCase{"Answers85", test::Answer({85}), "", "Comm Response : 85", true},
        LinkCase{"Answers86", test::Answer({86}), "", "Comm Response : 86", false},
        LinkCase{"SeveralBytesFirstOk", test::Answer({85, 86, 0}), "", "Comm Response : 85", true},
        LinkCase{"SeveralBytesFirstWrong", test::Answer({86, 85}), "", "Comm Response : 86", false},
        LinkCase{"Silent", test::Silent(), "Timeout while waiting for response",
                 "Comm Response : 0", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RelayLinkTestReport, MissingBoard)
{
    TSerialPort port;
    port.Port = "Fake port for testing";
    const TSerialResponse r = RelayLinkTest(port);
    const auto report = RelayLinkTestReport(0.5, port.DebugMSG, RelayLinkTestFrame, r);
    ASSERT_EQ(report.size(), 6u);
    EXPECT_EQ(report[0], "Time  0: " + FormatDateTime("hh:nn:ss.zzz", 0.5));
    EXPECT_EQ(report[3], "Comm Status   : Failed to setup Com port, port in use");
    EXPECT_EQ(report[4], "Comm Response : 0");
    EXPECT_EQ(report[5], "Relay board controlling solenoids was NOT OK");
}

TEST(RelayValveCommand, SendsTheMaskWithATrace)
{
    ScriptedPeer board(test::Answer({0}));
    TSerialPort port;
    port.Port = board.Path();

    const TSerialResponse r = SendValveCommand(port, ValveMask(1, 1, 0, 0, 1, 0));

    EXPECT_EQ(r.Status, "");
    EXPECT_TRUE(port.Debug);
    EXPECT_NE(port.DebugMSG.find("Time  9: "), std::string::npos);
    ASSERT_EQ(board.Requests().size(), 1u);
    EXPECT_EQ(board.Requests()[0], (Bytes{254, 40, 19}));
}

TEST(RelayValveCommand, SilentBoardEndsAfterTheWait)
{
    ScriptedPeer board(test::Silent());
    TSerialPort port;
    port.Port = board.Path();

    const auto start = std::chrono::steady_clock::now();
    const TSerialResponse r = SendValveCommand(port, 0);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(r.Status, "Timeout while waiting for response");
    EXPECT_GE(elapsed, 50ms);
    EXPECT_LT(elapsed, 2s);
    ASSERT_TRUE(board.WaitForRequests(1));
    EXPECT_EQ(board.Requests()[0], (Bytes{254, 40, 0}));
}

TEST(RelayBoard, AnalogReadFrame)
{
    EXPECT_EQ(RelayAnalogReadFrame, (std::array<std::uint8_t, 2>{254, 158}));
}

}  // namespace
}  // namespace gasmixer
