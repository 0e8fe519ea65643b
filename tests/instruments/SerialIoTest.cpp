#include "instruments/SerialIo.h"
#include "sim/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace gasmixer {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The program's end of a pty, opened as an exchange opens a port.
class SerialIo : public testing::Test {
protected:
    SerialIo() : fd_(open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}
    ~SerialIo() override { close(fd_); }

    void DeviceSends(std::size_t count)
    {
        const std::vector<std::uint8_t> bytes(count, 0x33);
        ASSERT_EQ(write(pty_.MasterFd(), bytes.data(), bytes.size()), static_cast<ssize_t>(count));
    }

    sim::PseudoTerminal pty_;
    int fd_;
};

TEST_F(SerialIo, ReadReturnsOnceTheAskedBytesAreIn)
{
    DeviceSends(10);
    const TReadTimeouts slow{10s, 10ms, 10s};
    const auto start = Clock::now();
    EXPECT_EQ(ReadWithTimeouts(fd_, 4, slow).size(), 4u);
    EXPECT_EQ(ReadWithTimeouts(fd_, 6, slow).size(), 6u);
    EXPECT_LT(Clock::now() - start, 5s);
}

TEST_F(SerialIo, ReadEndsAfterTheGapThatFollowsTheLastByte)
{
    DeviceSends(3);
    const auto start = Clock::now();
    EXPECT_EQ(ReadWithTimeouts(fd_, 256, {100ms, 10ms, 10s}).size(), 3u);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, 100ms);
    EXPECT_LT(elapsed, 5s);
}

TEST_F(SerialIo, ReadOfASilentDeviceEndsAtTheTotalLimitEmpty)
{
    const auto start = Clock::now();
    EXPECT_TRUE(ReadWithTimeouts(fd_, 10, {20ms, 10ms, 100ms}).empty());
    EXPECT_GE(Clock::now() - start, 200ms);
}

TEST_F(SerialIo, TricklingBytesEndAtTheTotalLimit)
{
    std::atomic<bool> stop{false};
    std::thread device([&] {
        const std::uint8_t one = 0x44;
        while (!stop) {
            (void)!write(pty_.MasterFd(), &one, 1);
            std::this_thread::sleep_for(20ms);
        }
    });
    // Gaps of 20 ms never reach the 500 ms interval; 256 x 1 ms + 300 ms ends it.
    const auto start = Clock::now();
    const auto bytes = ReadWithTimeouts(fd_, 256, {500ms, 1ms, 300ms});
    const auto elapsed = Clock::now() - start;
    stop = true;
    device.join();

    EXPECT_GT(bytes.size(), 0u);
    EXPECT_LT(bytes.size(), 256u);
    EXPECT_GE(elapsed, 556ms);
    EXPECT_LT(elapsed, 5s);
}

TEST_F(SerialIo, WriteAndQueueCount)
{
    const std::vector<std::uint8_t> frame{1, 2, 3};
    EXPECT_TRUE(WriteAll(fd_, frame));
    std::uint8_t got[3] = {};
    EXPECT_EQ(read(pty_.MasterFd(), got, 3), 3);
    DeviceSends(5);
    for (int i = 0; i < 100 && BytesWaiting(fd_) < 5; ++i) std::this_thread::sleep_for(2ms);
    EXPECT_EQ(BytesWaiting(fd_), 5u);
    EXPECT_EQ(BytesWaiting(-1), 0u);
    EXPECT_FALSE(WriteAll(-1, frame));
}

// The write waits until its bytes have left; a pseudo-terminal passes them on
// at once, so a device that is not reading must not hold the write up.
TEST_F(SerialIo, AWriteNobodyReadsStillEnds)
{
    const std::vector<std::uint8_t> frame(3000, 0x55);
    EXPECT_TRUE(WriteAll(fd_, frame));
    EXPECT_TRUE(WriteAll(fd_, frame));
    // Both frames are there for the device once it reads.
    std::size_t got = 0;
    std::vector<std::uint8_t> buffer(frame.size());
    for (ssize_t n; got < 2 * frame.size() && (n = read(pty_.MasterFd(), buffer.data(), buffer.size())) > 0;)
        got += static_cast<std::size_t>(n);
    EXPECT_EQ(got, 2 * frame.size());
}

}  // namespace
}  // namespace gasmixer
