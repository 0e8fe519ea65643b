#include "instruments/SerialDevice.h"
#include "instruments/SerialPort.h"
#include "sim/PseudoTerminal.h"
#include "tests/instruments/ScriptedPeer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

namespace gasmixer {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::PeerLine;
using test::ScriptedPeer;

constexpr const char* PortInUse = "Failed to setup Com port, port in use";
const Bytes Frame{254, 33};

TSerialResponse Exchange(const std::string& path, bool wait = true)
{
    TSerialPort port;
    port.Port = path;
    port.WindowsReadLoopTimeoutMS = 5;
    port.ReadoutTimeoutMS = 50;
    return port.SendData(Frame.data(), static_cast<std::uint32_t>(Frame.size()), wait);
}

std::size_t OpenDescriptors()
{
    return static_cast<std::size_t>(std::distance(
        std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator{}));
}

// Whether the terminal's exclusive flag is set, as seen through a fresh
// descriptor (root may open it regardless).
bool ExclusiveFlagSet(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == EBUSY;
    int flag = 0;
    ioctl(fd, TIOCGEXCL, &flag);
    close(fd);
    return flag != 0;
}

TEST(ExclusiveAccess, AnExchangeThatMeetsAnotherInProgressFailsAtOnce)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    ScriptedPeer peer([&](const Bytes&, PeerLine& line) {
        released.wait();
        line.Send(Bytes{85});
    });

    TSerialPort holder;
    holder.Port = peer.Path();
    holder.WindowsReadLoopTimeoutMS = 5;
    holder.ReadoutTimeoutMS = 5000;
    auto first = std::async(std::launch::async, [&] {
        return holder.SendData(Frame.data(), static_cast<std::uint32_t>(Frame.size()), true);
    });
    ASSERT_TRUE(peer.WaitForRequests(1));

    const auto start = std::chrono::steady_clock::now();
    const TSerialResponse second = Exchange(peer.Path());
    EXPECT_EQ(second.Status, PortInUse);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_TRUE(ExclusiveFlagSet(peer.Path()));

    release.set_value();
    const TSerialResponse firstResult = first.get();
    EXPECT_EQ(firstResult.Status, "");
    EXPECT_EQ(firstResult.rArray[0], 85);
    EXPECT_EQ(peer.Requests().size(), 1u);  // the refused exchange wrote nothing

    // Released on close, flag included: the next exchange gets the device.
    EXPECT_FALSE(ExclusiveFlagSet(peer.Path()));
    EXPECT_EQ(Exchange(peer.Path()).Status, "");
}

TEST(ExclusiveAccess, HoldsBetweenProcesses)
{
    sim::PseudoTerminal pty;
    {
        const TSerialDevice held = TSerialDevice::OpenExclusive(pty.SlavePath());
        ASSERT_GE(held.Fd(), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) _exit(Exchange(pty.SlavePath(), false).Status == PortInUse ? 0 : 1);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "the other process got the device while it was held";
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(Exchange(pty.SlavePath(), false).Status.empty() ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the other process could not get the released device";
}

TEST(ExclusiveAccess, TenThousandExchangesLeaveNoDescriptorBehind)
{
    ScriptedPeer peer(test::Silent());
    sim::PseudoTerminal busy;
    const TSerialDevice held = TSerialDevice::OpenExclusive(busy.SlavePath());
    ASSERT_GE(held.Fd(), 0);
    const std::string file = testing::TempDir() + "/plain-file";
    std::ofstream(file) << "x";
    const std::string paths[] = {peer.Path(), busy.SlavePath(), "ttyNoSuchPort7", file};
    const std::string expected[] = {"", PortInUse, PortInUse, PortInUse};

    const std::size_t before = OpenDescriptors();
    for (int i = 0; i < 10000; ++i) {
        const TSerialResponse r = Exchange(paths[i % 4], false);
        ASSERT_EQ(r.Status, expected[i % 4]) << "exchange " << i;
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

// The device vanishes at three moments of an exchange; each ends in a status
// text, in bounded time, and leaves no descriptor open.
struct VanishCase {
    const char* name;
    std::function<void(PeerLine&)> script;
    std::uint32_t pauseMs;
    const char* status;
    bool someBytes;
};

class ExclusiveAccessVanish : public testing::TestWithParam<VanishCase> {};

TEST_P(ExclusiveAccessVanish, EndsInAStatusText)
{
    const VanishCase c = GetParam();
    ScriptedPeer peer([&](const Bytes&, PeerLine& line) { c.script(line); });
    TSerialPort port;
    port.Port = peer.Path();
    port.WindowsReadLoopTimeoutMS = c.pauseMs;
    port.ReadoutTimeoutMS = 1000;

    const std::size_t before = OpenDescriptors();
    const auto start = std::chrono::steady_clock::now();
    const TSerialResponse r =
        port.SendData(Frame.data(), static_cast<std::uint32_t>(Frame.size()), true);

    EXPECT_EQ(r.Status, c.status);
    EXPECT_EQ(r.ResponseLength > 0, c.someBytes);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    ASSERT_TRUE(peer.WaitVanished());
    EXPECT_EQ(OpenDescriptors(), before - 1);  // only the vanished device side is gone
    EXPECT_EQ(Exchange(port.Port).Status, PortInUse);  // gone for good
}

INSTANTIATE_TEST_SUITE_P(
    Moments, ExclusiveAccessVanish,
    testing::Values(
        VanishCase{"BeforeReplying", [](PeerLine& line) { line.Vanish(); }, 10,
                   "Timeout while waiting for response", false},
        // Seen by the poll at 500 ms, gone before the read at 1 000 ms: a
        // quarter of a second either side for a loaded machine.
        VanishCase{"BetweenPollAndRead",
                   [](PeerLine& line) {
                       line.Send(Bytes{1});
                       line.Sleep(750ms);
                       line.Vanish();
                   },
                   500, "Failed to read from Com port", false},
        // A byte each 10 ms against a read that waits 20 ms for the next: on
        // a loaded machine the read may end before the vanish, with bytes
        // and no error all the same.
        VanishCase{"DuringTheRead",
                   [](PeerLine& line) {
                       for (int i = 0; i < 20; ++i) {
                           line.Send(Bytes{2});
                           line.Sleep(10ms);
                       }
                       line.Vanish();
                   },
                   10, "", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace gasmixer
