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
    EXPECT_EQ(s.PositionAt(At(500)).Step, 1);

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
    EXPECT_EQ(first.Step, 0);
    EXPECT_EQ(first.StepStart, T0);
    EXPECT_NEAR(first.StepLeft / OneMinute, 90.0, 1e-6);
    EXPECT_NEAR(first.ProgramLeft / OneMinute, 91.0, 1e-6);
    EXPECT_FALSE(first.Finished);

    const ProgramPosition flush = s.PositionAt(At(120.25));
    EXPECT_EQ(flush.Step, 1);
    EXPECT_NEAR(flush.StepLeft / OneMinute, 0.75, 1e-6);

    EXPECT_EQ(s.PositionAt(At(-5)).Step, 0) << "a clock set back reads as the start";
    const ProgramPosition end = s.PositionAt(At(121));
    EXPECT_TRUE(end.Finished);
    EXPECT_EQ(end.ProgramLeft, 0.0);
}

}  // namespace
}  // namespace gasmixer
