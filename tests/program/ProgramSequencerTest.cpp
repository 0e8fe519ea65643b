#include "program/ProgramFile.h"
#include "program/ProgramSequencer.h"

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

MixtureProgram Program(const char* steps)
{
    const ParsedProgram parsed = ParseProgram(std::string(ProgramFileHeader) + "\n" + steps);
    EXPECT_TRUE(parsed.Program) << parsed.Error.Line << ": " << parsed.Error.Reason;
    return parsed.Program.value_or(MixtureProgram{});
}

constexpr TDateTime T0 = 45000.25;
TDateTime At(double minutes) { return T0 + minutes * OneMinute; }

using Op = ProgramOperation;

// Every poll of a stepped clock: each step is pressed once, when it begins.
TEST(ProgramSequencer, PressesEachStepWhenItBeginsAndClosesWithStop)
{
    ProgramSequencer s(Program("mixture;2000;0;;120\nflush;;;;1\nbypass;;;;0.5\n"), T0);
    EXPECT_EQ(s.Advance(At(0)), (ProgramPress{0, Op::ApplyMixture}));
    EXPECT_EQ(s.Advance(At(0)), std::nullopt);
    EXPECT_EQ(s.Advance(At(119.99)), std::nullopt);
    EXPECT_EQ(s.Advance(At(120)), (ProgramPress{1, Op::Flush}));
    EXPECT_EQ(s.Advance(At(120.5)), std::nullopt);
    EXPECT_EQ(s.Advance(At(121)), (ProgramPress{2, Op::Bypass}));
    EXPECT_FALSE(s.Finished());
    EXPECT_EQ(s.Advance(At(121.5)), (ProgramPress{2, Op::Stop, true}));
    EXPECT_TRUE(s.Finished());
    EXPECT_EQ(s.Advance(At(200)), std::nullopt);
}

TEST(ProgramSequencer, ALastStopIsPressedOnceEvenForNoTime)
{
    ProgramSequencer zero(Program("mixture;2000;0;;1\nstop;;;;0\n"), T0);
    EXPECT_EQ(zero.Advance(At(0)), (ProgramPress{0, Op::ApplyMixture}));
    EXPECT_EQ(zero.Advance(At(1)), (ProgramPress{1, Op::Stop, true}));
    EXPECT_EQ(zero.Advance(At(1)), std::nullopt);

    ProgramSequencer timed(Program("bypass;;;;1\nstop;;;;2\n"), T0);
    EXPECT_EQ(timed.Advance(At(0)), (ProgramPress{0, Op::Bypass}));
    EXPECT_EQ(timed.Advance(At(1)), (ProgramPress{1, Op::Stop}));
    EXPECT_EQ(timed.Advance(At(3)), std::nullopt);
    EXPECT_TRUE(timed.Finished());
}

TEST(ProgramSequencer, HoldKeepsTheLastStepRunningWithoutStop)
{
    ProgramSequencer s(Program("flush;;;;1\nmixture;500;10000;0.25;30\nhold;;;;\n"), T0);
    EXPECT_EQ(s.End(), At(31));
    EXPECT_EQ(s.Advance(At(0)), (ProgramPress{0, Op::Flush}));
    EXPECT_EQ(s.Advance(At(1)), (ProgramPress{1, Op::ApplyMixture}));
    EXPECT_EQ(s.Advance(At(31)), std::nullopt);
    EXPECT_TRUE(s.Finished());
    EXPECT_EQ(s.PositionAt(At(500)).Entry, 1);

    // A mixture of no time before hold is simply applied and kept.
    ProgramSequencer kept(Program("mixture;2000;0;;0\nhold;;;;\n"), T0);
    EXPECT_EQ(kept.Advance(At(0)), (ProgramPress{0, Op::ApplyMixture}));
    EXPECT_TRUE(kept.Finished());
}

TEST(ProgramSequencer, ALatePollPressesOnlyTheStepNowRunning)
{
    ProgramSequencer s(Program("flush;;;;1\nbypass;;;;1\nmixture;2000;0;;10\n"), T0);
    EXPECT_EQ(s.Advance(At(2.5)), (ProgramPress{2, Op::ApplyMixture, false, 2}));
    // Past the end, the closing Stop alone.
    ProgramSequencer late(Program("flush;;;;1\nbypass;;;;1\n"), T0);
    EXPECT_EQ(late.Advance(At(5)), (ProgramPress{1, Op::Stop, true, 2}));
}

TEST(ProgramSequencer, PositionGivesTheStepAndTheTimeLeft)
{
    const ProgramSequencer s(Program("mixture;2000;0;;120\nflush;;;;1\nstop;;;;0\n"), T0);
    const ProgramPosition first = s.PositionAt(At(30));
    EXPECT_EQ(first.Entry, 0);
    EXPECT_EQ(first.StepStart, T0);
    EXPECT_NEAR(first.StepLeft / OneMinute, 90.0, 1e-6);
    EXPECT_NEAR(first.ProgramLeft / OneMinute, 91.0, 1e-6);
    EXPECT_FALSE(first.Finished);

    const ProgramPosition flush = s.PositionAt(At(120.25));
    EXPECT_EQ(flush.Entry, 1);
    EXPECT_NEAR(flush.StepLeft / OneMinute, 0.75, 1e-6);

    EXPECT_EQ(s.PositionAt(At(-5)).Entry, 0) << "a clock set back reads as the start";
    const ProgramPosition end = s.PositionAt(At(121));
    EXPECT_TRUE(end.Finished);
    EXPECT_EQ(end.ProgramLeft, 0.0);
}

// A press as a stepped clock saw it: minutes from the start, entry, operation.
struct Pressed {
    double Minutes;
    int Entry;
    Op Operation;
    bool Closing;
};

TEST(ProgramSequencer, ARepeatedProgramWithARampIsPressedOnTimeThroughEveryPassOnAStepwiseClock)
{
    // Per pass: a mixture of 2 minutes, a ramp of two 1-minute stairs, a flush of 1.
    ProgramSequencer s(Program("mixture;2000;0;;2\nramp;4000;0;;2\nflush;;;;1\nrepeat;3;;;\n"), T0);
    ASSERT_EQ(s.End(), At(15));
    constexpr double Tick = 0.25 * OneSecond;
    std::vector<Pressed> presses;
    for (long long k = 0; !s.Finished(); ++k) {
        const TDateTime now = T0 + static_cast<double>(k) * Tick;
        ASSERT_LT(now, At(16)) << "the program never finished";
        while (const auto press = s.Advance(now)) {
            EXPECT_EQ(press->Skipped, 0) << "a tick every 0.25 s skips nothing";
            presses.push_back({(now - T0) / OneMinute, press->Entry, press->Operation, press->Closing});
        }
    }
    const std::vector<std::pair<double, Op>> expected{
        {0, Op::ApplyMixture}, {2, Op::ApplyMixture}, {3, Op::ApplyMixture}, {4, Op::Flush},
        {5, Op::ApplyMixture}, {7, Op::ApplyMixture}, {8, Op::ApplyMixture}, {9, Op::Flush},
        {10, Op::ApplyMixture}, {12, Op::ApplyMixture}, {13, Op::ApplyMixture}, {14, Op::Flush},
        {15, Op::Stop}};
    ASSERT_EQ(presses.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        // At the first tick at or after its start.
        EXPECT_GE(presses[i].Minutes, expected[i].first - 1e-6) << i;  // day counts near 45000 carry 1e-8 min
        EXPECT_LT(presses[i].Minutes, expected[i].first + Tick / OneMinute) << i;
        EXPECT_EQ(presses[i].Operation, expected[i].second) << i;
        EXPECT_EQ(presses[i].Entry, std::min<int>(static_cast<int>(i), 11)) << i;
        EXPECT_EQ(presses[i].Closing, i == 12) << i;
    }
    EXPECT_EQ(s.Entry(presses[6].Entry).Pass, 2);
    EXPECT_EQ(s.Entry(presses[6].Entry).Stair, 2);
    EXPECT_EQ(s.Entry(presses[6].Entry).GasAPpm, 4000);
    EXPECT_EQ(s.Entry(presses[5].Entry).GasAPpm, 3000) << "pass 2's ramp starts from pass 2's mixture";

    // Within a ramp the step lasts until its last stair ends.
    const ProgramPosition stair = s.PositionAt(At(7.5));
    EXPECT_EQ(stair.Entry, 5);
    EXPECT_NEAR(stair.StepLeft / OneMinute, 1.5, 1e-6);
    EXPECT_NEAR(stair.ProgramLeft / OneMinute, 7.5, 1e-6);
}

}  // namespace
}  // namespace gasmixer
