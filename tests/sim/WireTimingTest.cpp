// Replies on a simulated line take the time the wire would take.
#include "RawPort.h"
#include "instruments/RelayBoard.h"
#include "instruments/VogtlinPort.h"
#include "sim/SimulatorHost.h"
#include "sim/WireTiming.h"

#include <gtest/gtest.h>

namespace gasmixer::sim {
namespace {

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

TEST(CharacterTime, CountsStartDataParityAndStopBits)
{
    struct Case {
        std::int32_t baud, stopBits, parity;
        nanoseconds expected;
    };
    for (const Case& c : {Case{9600, 2, 0, nanoseconds(1'145'833)}, Case{115200, 2, 0, nanoseconds(95'486)},
                          Case{9600, 0, 0, nanoseconds(1'041'666)}, Case{9600, 0, 2, nanoseconds(1'145'833)},
                          Case{9600, 1, 1, nanoseconds(1'197'916)}}) {
        TSerialPort line;
        line.BaudRate = c.baud;
        line.StopBits = c.stopBits;
        line.Parity = c.parity;
        EXPECT_EQ(CharacterTime(line), c.expected) << c.baud << " " << c.stopBits << " " << c.parity;
    }
}

TEST(CharacterTime, OfTheProgramsTwoLines)
{
    TSerialPort mfcLine, relayLine;
    ApplyMfcLineSettings(mfcLine);
    ApplyRelayBoardSettings(relayLine);
    EXPECT_EQ(CharacterTime(mfcLine), nanoseconds(1'145'833)) << "9600 baud, 11 bits a character";
    EXPECT_EQ(CharacterTime(relayLine), nanoseconds(95'486)) << "115200 baud";
}

class Wire : public ::testing::Test {
protected:
    static constexpr nanoseconds Char = 1ms;
    const TimePoint t0 = SimClock::now();
    WireTransmitter wire{Char};
};

TEST_F(Wire, BytesArriveOneCharacterTimeApart)
{
    wire.Send(t0, {1, 2, 3, 4, 5});
    EXPECT_EQ(wire.NextArrival(), t0 + Char);
    EXPECT_TRUE(wire.Arrived(t0 + Char - 1ns).empty()) << "not even the first byte is whole yet";
    EXPECT_EQ(wire.Arrived(t0 + Char), (Bytes{1}));
    EXPECT_EQ(wire.Arrived(t0 + 3500us), (Bytes{2, 3}));
    EXPECT_EQ(wire.NextArrival(), t0 + 4 * Char);
    EXPECT_EQ(wire.Arrived(t0 + 1s), (Bytes{4, 5})) << "a late look takes everything that arrived";
    EXPECT_FALSE(wire.NextArrival());
}

TEST_F(Wire, AReplyDueWhileTheWireIsBusyFollowsWithoutAGap)
{
    wire.Send(t0, {1, 2, 3});
    wire.Send(t0 + Char, {4, 5});
    EXPECT_EQ(wire.Arrived(t0 + 4 * Char - 1ns), (Bytes{1, 2, 3}));
    EXPECT_EQ(wire.Arrived(t0 + 5 * Char), (Bytes{4, 5}));
}

TEST_F(Wire, AReplyDueAfterAnIdleSpellStartsWhenDue)
{
    wire.Send(t0, {1});
    EXPECT_EQ(wire.Arrived(t0 + Char), (Bytes{1}));
    wire.Send(t0 + 10 * Char, {2});
    EXPECT_TRUE(wire.Arrived(t0 + 10 * Char).empty());
    EXPECT_EQ(wire.Arrived(t0 + 11 * Char), (Bytes{2}));
}

TEST_F(Wire, WithoutPacingEverythingArrivesWhenDue)
{
    WireTransmitter instant{nanoseconds::zero()};
    instant.Send(t0 + 5ms, {1, 2, 3});
    EXPECT_TRUE(instant.Arrived(t0).empty());
    EXPECT_EQ(instant.NextArrival(), t0 + 5ms);
    EXPECT_EQ(instant.Arrived(t0 + 5ms), (Bytes{1, 2, 3}));
    instant.Send(t0 + 6ms, {4});
    instant.Clear();
    EXPECT_FALSE(instant.NextArrival());
}

// A register read on the MFC line: 8 request bytes, 5 + 2 x count back.
Bytes ReadRequest(std::uint16_t reg, std::uint8_t count)
{
    return test::WithCrc({1, 3, static_cast<std::uint8_t>(reg >> 8), static_cast<std::uint8_t>(reg), 0, count});
}

// Lower bounds only: a loaded machine makes every byte later, never sooner.
// Whenever the program looks, no more of the reply can be in than the time
// since the request was written allows, the request's own bytes first.
TEST(PacedLine, RepliesTakeTheirLengthInCharacterTimes)
{
    SimulatorHost host;
    TSerialPort settings;
    ApplyMfcLineSettings(settings);
    const nanoseconds character = CharacterTime(settings);
    test::RawPort port(host.MfcLinePath());
    for (const std::uint8_t registers : {1, 25}) {
        const Bytes request = ReadRequest(24610, registers);
        const test::Received got = port.Exchange(request, 2s);
        ASSERT_EQ(got.bytes.size(), 5u + 2u * registers) << "registers " << int{registers};
        for (const auto& [after, total] : got.arrivals)
            EXPECT_GE(after, character * static_cast<long>(request.size() + total))
                << total << " of " << got.bytes.size() << " bytes";
    }
}

TEST(PacedLine, WithoutPacingTheSameRepliesComeWhole)
{
    SimulatorOptions unpaced;
    unpaced.pacing = false;
    SimulatorHost host(std::move(unpaced));
    test::RawPort port(host.MfcLinePath());
    EXPECT_EQ(port.Exchange(ReadRequest(24610, 25), 2s).bytes.size(), 55u);
    EXPECT_EQ(test::RawPort(host.RelayBoardPath()).Exchange({254, 33}).bytes, (Bytes{85}));
}

}  // namespace
}  // namespace gasmixer::sim
