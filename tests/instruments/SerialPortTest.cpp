#include "instruments/SerialLineSettings.h"
#include "instruments/SerialPort.h"
#include "tests/instruments/ScriptedPeer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace gasmixer {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::PeerLine;
using test::ScriptedPeer;
using Clock = std::chrono::steady_clock;

const Bytes Request{1, 3, 0, 4, 0, 2, 0x85, 0xCA};

TSerialPort PortOn(const std::string& path)
{
    TSerialPort port;
    port.Port = path;
    port.WindowsReadLoopTimeoutMS = 10;
    port.ReadoutTimeoutMS = 50;
    return port;
}

TSerialResponse Exchange(TSerialPort& port, const Bytes& frame, bool wait = true)
{
    return port.SendData(frame.data(), static_cast<std::uint32_t>(frame.size()), wait);
}

// The trace lines, checked for their form "Time  N: hh:nn:ss.zzz\r\n";
// returns the step numbers.
std::vector<int> TraceSteps(const std::string& trace)
{
    constexpr std::string_view Form = "Time  N: 00:00:00.000\r\n";
    std::vector<int> steps;
    for (std::size_t at = 0; at < trace.size(); at += Form.size()) {
        const std::string_view line = std::string_view(trace).substr(at, Form.size());
        bool matches = line.size() == Form.size();
        for (std::size_t i = 0; matches && i < Form.size(); ++i) {
            const bool digit = line[i] >= '0' && line[i] <= '9';
            matches = Form[i] == '0' || Form[i] == 'N' ? digit : line[i] == Form[i];
        }
        EXPECT_TRUE(matches) << "unexpected trace text: " << line;
        if (!matches) break;
        steps.push_back(line[6] - '0');
    }
    return steps;
}

Bytes Sequence(std::size_t count)
{
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return bytes;
}

// Waits until the device's receive queue holds `count` bytes.
bool WaitUntilQueued(const std::string& path, std::size_t count)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int queued = 0;
    for (int i = 0; i < 500 && static_cast<std::size_t>(queued) < count; ++i) {
        ioctl(fd, FIONREAD, &queued);
        usleep(2000);
    }
    close(fd);
    return static_cast<std::size_t>(queued) >= count;
}

TEST(SerialPortDefaults, MatchTheLineTable)
{
    const TSerialPort port;
    EXPECT_FALSE(port.Debug);
    EXPECT_EQ(port.DebugMSG, "");
    EXPECT_EQ(port.Port, "");
    EXPECT_EQ(port.WindowsReadLoopTimeoutMS, 333u);
    EXPECT_EQ(port.ReadoutTimeoutMS, 1000u);
    EXPECT_EQ(port.BaudRate, 9600);
    EXPECT_EQ(port.StopBits, 0);
    EXPECT_EQ(port.Parity, 0);
}

TEST(SerialDevicePath, NamesMapUnderDevAndPathsStayAsGiven)
{
    EXPECT_EQ(SerialDevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(SerialDevicePath("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(SerialDevicePath("../etc/passwd"), "../etc/passwd");
}

TEST(SerialPortExchange, AwaitedReplyIsStoredWithNineTraceLines)
{
    const Bytes reply{1, 3, 4, 0x3F, 0x80, 0x01, 0x02, 0xAA, 0xBB};
    ScriptedPeer peer(test::Answer(reply));
    TSerialPort port = PortOn(peer.Path());
    port.Debug = true;

    const TSerialResponse r = Exchange(port, Request);

    EXPECT_EQ(r.Status, "");
    ASSERT_EQ(r.ResponseLength, reply.size());
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), r.rArray.begin()));
    EXPECT_EQ(r.rArray[reply.size()], 0);
    EXPECT_EQ(r.ValueOfFirstWord, 0x3F80);
    EXPECT_EQ(r.ValueOfSecondWord, 0x0102);
    EXPECT_EQ(r.Response, "\x01\x03\x04?\xC2\x80\x01\x02\xC2\xAA\xC2\xBB");
    EXPECT_EQ(r.SentMessage, "");
    EXPECT_EQ(TraceSteps(port.DebugMSG), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_EQ(peer.Requests().size(), 1u);
    EXPECT_EQ(peer.Requests()[0], Request);
}

TEST(SerialPortExchange, WriteWithoutReplyLeavesSixTraceLinesAndReadsNothing)
{
    ScriptedPeer peer(test::Answer({9, 9, 9}));
    TSerialPort port = PortOn(peer.Path());
    port.Debug = true;

    const TSerialResponse r = Exchange(port, Request, false);

    EXPECT_EQ(r.Status, "");
    EXPECT_EQ(r.ResponseLength, 0);
    EXPECT_EQ(r.rArray[0], 0);
    EXPECT_EQ(TraceSteps(port.DebugMSG), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(peer.WaitForRequests(1));
    EXPECT_EQ(peer.Requests()[0], Request);
}

TEST(SerialPortExchange, DebugOffLeavesTheTraceEmpty)
{
    ScriptedPeer peer(test::Answer({85}));
    TSerialPort port = PortOn(peer.Path());
    port.DebugMSG = "left over";

    Exchange(port, Request);
    EXPECT_EQ(port.DebugMSG, "");
}

TEST(SerialPortExchange, SilentDeviceTimesOutAndLeavesTheReplyUntouched)
{
    ScriptedPeer peer(test::Silent());
    TSerialPort port = PortOn(peer.Path());
    port.Debug = true;

    const auto start = Clock::now();
    const TSerialResponse r = Exchange(port, Request);
    const auto elapsed = Clock::now() - start;

    EXPECT_EQ(r.Status, "Timeout while waiting for response");
    EXPECT_EQ(r.Response, "");
    EXPECT_EQ(r.ResponseLength, 0);
    EXPECT_EQ(r.rArray, TSerialResponse{}.rArray);
    EXPECT_EQ(TraceSteps(port.DebugMSG), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_GE(elapsed, 60ms);  // the pause after the write plus the whole wait
    EXPECT_LT(elapsed, 2s);
}

struct ReplySizeCase {
    std::size_t sent;
    std::size_t stored;
    std::uint8_t responseLength;
    bool wordsFilled;
};

class SerialPortReplySize : public testing::TestWithParam<ReplySizeCase> {};

TEST_P(SerialPortReplySize, KeepsAtMostTheFirst256Bytes)
{
    const ReplySizeCase c = GetParam();
    const Bytes reply = Sequence(c.sent);
    ScriptedPeer peer(test::Answer(reply));
    TSerialPort port = PortOn(peer.Path());

    const TSerialResponse r = Exchange(port, Request);

    EXPECT_EQ(r.Status, "");
    EXPECT_EQ(r.ResponseLength, c.responseLength);
    EXPECT_TRUE(std::equal(reply.begin(), reply.begin() + c.stored, r.rArray.begin()));
    EXPECT_EQ(r.ValueOfFirstWord, c.wordsFilled ? 256 * reply[3] + reply[4] : 0);
    EXPECT_EQ(r.ValueOfSecondWord, c.wordsFilled ? 256 * reply[5] + reply[6] : 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SerialPortReplySize,
                         testing::Values(ReplySizeCase{1, 1, 1, false},
                                         ReplySizeCase{6, 6, 6, false},
                                         ReplySizeCase{7, 7, 7, true},
                                         ReplySizeCase{255, 255, 255, true},
                                         ReplySizeCase{256, 256, 0, true},
                                         ReplySizeCase{300, 256, 0, true}));

TEST(SerialPortExchange, BytesLeftFromBeforeNeverPassForTheReply)
{
    int exchanges = 0;
    ScriptedPeer peer([&](const Bytes&, PeerLine& line) {
        // The first reply is too long for one read; its tail stays behind.
        const Bytes reply = ++exchanges == 1 ? Sequence(300) : Bytes{0x55};
        line.Send(reply);
    });
    TSerialPort port = PortOn(peer.Path());

    Exchange(port, Request);
    const Bytes stale{0xEE, 0xEE};
    peer.Inject(stale);
    ASSERT_TRUE(WaitUntilQueued(peer.Path(), 300 - 256 + stale.size()));
    const TSerialResponse second = Exchange(port, Request);

    EXPECT_EQ(second.ResponseLength, 1);
    EXPECT_EQ(second.rArray[0], 0x55);
}

TEST(SerialPortExchange, ReplyCompleteAtTheFirstPollIsReadAfterThePauseThatFollows)
{
    ScriptedPeer peer(test::Answer({85}));
    TSerialPort port = PortOn(peer.Path());
    port.WindowsReadLoopTimeoutMS = 150;

    const auto start = Clock::now();
    const TSerialResponse r = Exchange(port, Request);

    EXPECT_EQ(r.ResponseLength, 1);
    EXPECT_GE(Clock::now() - start, 300ms);  // pause after the write, pause after the poll
}

// A device that never stops sending still ends the exchange: by the gap
// between bytes when the machine is slow, by the total read limit otherwise.
TEST(SerialPortExchange, EndlessReplyEndsTheExchange)
{
    ScriptedPeer peer([](const Bytes&, PeerLine& line) {
        const Bytes one{0x42};
        do line.Send(one);
        while (line.Sleep(15ms));
    });
    TSerialPort port = PortOn(peer.Path());

    const auto start = Clock::now();
    const TSerialResponse r = Exchange(port, Request);

    EXPECT_EQ(r.Status, "");
    EXPECT_GT(r.ResponseLength, 0);
    EXPECT_EQ(r.rArray[0], 0x42);
    EXPECT_LT(Clock::now() - start, 8s);
}

class SerialPortBadName : public testing::TestWithParam<std::string> {};

TEST_P(SerialPortBadName, FailsAtTheLineSettings)
{
    const std::filesystem::path dir = testing::TempDir();
    const std::string file = (dir / "not-a-port").string();
    std::ofstream(file) << "data";
    const std::string name = GetParam() == "<file>" ? file
                             : GetParam() == "<dir>" ? dir.string()
                                                     : GetParam();
    TSerialPort port = PortOn(name);
    port.Debug = true;

    const auto start = Clock::now();
    const TSerialResponse r = Exchange(port, Request);

    EXPECT_EQ(r.Status, "Failed to setup Com port, port in use");
    EXPECT_EQ(r.ResponseLength, 0);
    EXPECT_EQ(TraceSteps(port.DebugMSG), (std::vector<int>{1, 2}));
    EXPECT_LT(Clock::now() - start, 1s);
    if (GetParam() == "<file>") {
        std::ifstream in(file);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "data");
    }
}

INSTANTIATE_TEST_SUITE_P(Names, SerialPortBadName,
                         testing::Values("", "ttyNoSuchPort7", "Fake port for testing",
                                         "/dev/null", "<file>", "<dir>"));

struct LineCase {
    std::int32_t baud;
    std::int32_t stopBits;
    std::int32_t parity;
    speed_t speed;
    tcflag_t parityFlags;
    bool twoStopBits;
};

class SerialPortLineSettings : public testing::TestWithParam<LineCase> {};

TEST_P(SerialPortLineSettings, ComposeARaw8BitLine)
{
    const LineCase c = GetParam();
    termios tio{};
    tio.c_iflag = ICRNL | IXON | INPCK;
    tio.c_lflag = ICANON | ECHO | ISIG;
    tio.c_oflag = OPOST;
    tio.c_cflag = CRTSCTS | CS7;
    ASSERT_TRUE(ComposeLineSettings(tio, c.baud, c.stopBits, c.parity));

    EXPECT_EQ(cfgetospeed(&tio), c.speed);
    EXPECT_EQ(cfgetispeed(&tio), c.speed);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), c.parityFlags);
    EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStopBits);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD | CRTSCTS), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | INPCK | ICRNL), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SerialPortLineSettings,
    testing::Values(LineCase{9600, 2, 0, B9600, 0, true},          // flow controllers
                    LineCase{115200, 2, 0, B115200, 0, true},      // relay board
                    LineCase{19200, 0, 1, B19200, PARENB | PARODD, false},
                    LineCase{4800, 1, 2, B4800, PARENB, true},
                    LineCase{57600, 0, 3, B57600, PARENB | PARODD | CMSPAR, false},
                    LineCase{2400, 0, 4, B2400, PARENB | CMSPAR, false}));

// A pseudo-terminal keeps speed, stop bits and raw mode (it forces 8 bits
// without parity itself), enough to see the settings reach the device.
TEST(SerialPortLineSettings, ReachTheDevice)
{
    ScriptedPeer peer(test::Silent());
    TSerialPort port = PortOn(peer.Path());
    port.BaudRate = 115200;
    port.StopBits = 2;
    ASSERT_EQ(Exchange(port, Request, false).Status, "");

    const int fd = open(peer.Path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(fd, &tio), 0);
    close(fd);
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
}

TEST(SerialPortLineSettings, UnsupportedValuesAreRefused)
{
    ScriptedPeer peer(test::Silent());
    for (const auto& [baud, stopBits, parity] :
         {std::tuple{12345, 0, 0}, std::tuple{9600, 3, 0}, std::tuple{9600, 0, 5},
          std::tuple{-9600, 0, 0}}) {
        TSerialPort port = PortOn(peer.Path());
        port.BaudRate = baud;
        port.StopBits = stopBits;
        port.Parity = parity;
        EXPECT_EQ(Exchange(port, Request).Status, "Failed to setup Com port, port in use")
            << baud << " " << stopBits << " " << parity;
    }
    EXPECT_TRUE(peer.Requests().empty());
}

TEST(SerialPortLineSettings, InvalidDescriptorFailsEveryStep)
{
    const TSerialPort port;
    EXPECT_FALSE(port.SetDCBState(-1));
    EXPECT_FALSE(port.SetTimeOuts(-1));
    EXPECT_FALSE(port.SetBuffers(-1));
}

TEST(SerialPortSend2, TextExchanges)
{
    ScriptedPeer peer(test::Answer({' ', '\r', 'O', 'K', ' ', '1', '\r', '\n'}));
    TSerialPort port = PortOn(peer.Path());

    const TSerialResponse answered = port.Send2("PING\r", true);
    EXPECT_EQ(answered.SentMessage, "PING\r");
    EXPECT_EQ(answered.Response, "OK 1");
    EXPECT_EQ(answered.Status, "");
    EXPECT_EQ(answered.ResponseLength, 0);
    EXPECT_EQ(answered.rArray[0], 0);

    const TSerialResponse unanswered = port.Send2("PING\r", false);
    EXPECT_EQ(unanswered.Status, "Exit read/write without waiting for reply");
    EXPECT_EQ(unanswered.Response, "");
    ASSERT_TRUE(peer.WaitForRequests(2));
    EXPECT_EQ(peer.Requests()[0], (Bytes{'P', 'I', 'N', 'G', '\r'}));
}

TEST(SerialPortSend2, FailuresUseTheExchangeTexts)
{
    ScriptedPeer silent(test::Silent());
    TSerialPort port = PortOn(silent.Path());
    EXPECT_EQ(port.Send2("X", true).Status, "Timeout while waiting for response");
    port.Port = "ttyNoSuchPort7";
    EXPECT_EQ(port.Send2("X", true).Status, "Failed to setup Com port, port in use");
}

}  // namespace
}  // namespace gasmixer
