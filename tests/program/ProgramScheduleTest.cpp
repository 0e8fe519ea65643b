#include "program/ProgramFile.h"
#include "program/ProgramSchedule.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace gasmixer {
namespace {

MixtureProgram Program(const std::string& text)
{
    const ParsedProgram parsed = ParseProgram(text);
    EXPECT_TRUE(parsed.Program) << parsed.Error.Line << ": " << parsed.Error.Reason;
    return parsed.Program.value_or(MixtureProgram{});
}

MixtureProgram Steps(const std::string& steps) { return Program(std::string(ProgramFileHeader) + "\n" + steps); }

// Step, stair, start minutes, minutes, A ppm, H2O ppm of each entry.
using Row = std::tuple<int, int, double, double, int, int>;

std::vector<Row> Rows(const ProgramSchedule& schedule)
{
    std::vector<Row> rows;
    for (const ScheduledStep& e : schedule.Entries)
        rows.emplace_back(e.Step, e.Stair, e.StartMinutes, e.Minutes, e.GasAPpm, e.H2OPpm);
    return rows;
}

TEST(ProgramSchedule, ARampClimbsInStairsThatEndOnItsOwnValues)
{
    const ProgramSchedule s = ScheduleOf(Steps("mixture;2000;0;;10\nramp;10000;0;;4\nflush;;;;1\n"));
    EXPECT_EQ(Rows(s), (std::vector<Row>{{0, 0, 0, 10, 2000, 0},
                                         {1, 1, 10, 1, 4000, 0},
                                         {1, 2, 11, 1, 6000, 0},
                                         {1, 3, 12, 1, 8000, 0},
                                         {1, 4, 13, 1, 10000, 0},
                                         {2, 0, 14, 1, 0, 0}}));
    EXPECT_EQ(s.TotalMinutes, 15.0);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(s.Entries[static_cast<std::size_t>(i)].Operation, ProgramOperation::ApplyMixture);
        EXPECT_EQ(s.Entries[static_cast<std::size_t>(i)].Stairs, 4);
    }
    EXPECT_EQ(s.Entries.back().Operation, ProgramOperation::Flush);
}

TEST(ProgramSchedule, StairsFollowTheHeaderDownwardsAndTheLastOneIsShorterWhenTheyDoNotDivide)
{
    const ProgramSchedule s = ScheduleOf(Program("step;a_ppm;h2o_ppm;b_limit;minutes;ramp_step=2\n"
                                                 "mixture;9000;20000;0.3;5\n"
                                                 "ramp;1000;10000;;5\n"));
    EXPECT_EQ(Rows(s), (std::vector<Row>{{0, 0, 0, 5, 9000, 20000},
                                         {1, 1, 5, 2, 5800, 16000},
                                         {1, 2, 7, 2, 2600, 12000},
                                         {1, 3, 9, 1, 1000, 10000}}));
    EXPECT_EQ(s.Entries[1].GasBLimit, std::nullopt) << "a ramp without limit keeps the one in force";

    // A third of a minute does not become four stairs by rounding.
    EXPECT_EQ(StairCount(0.3, 0.1), 3);
    EXPECT_EQ(StairCount(1.0, 0.3), 4);
    EXPECT_EQ(StairCount(1e300, 0.001), std::numeric_limits<int>::max());
}

TEST(ProgramSchedule, ARepeatRunsItsBlockAgainAndARampStartsFromWherePassesLeftIt)
{
    const ProgramSchedule s = ScheduleOf(Steps("mixture;1000;0;;5\n"  // before the block: once
                                               "repeat;1;;;\n"
                                               "ramp;3000;0;;2\n"
                                               "flush;;;;1\n"
                                               "repeat;2;;;\n"
                                               "bypass;;;;3\n"
                                               "hold;;;;\n"));
    EXPECT_EQ(Rows(s), (std::vector<Row>{{0, 0, 0, 5, 1000, 0},
                                         {2, 1, 5, 1, 2000, 0},
                                         {2, 2, 6, 1, 3000, 0},
                                         {3, 0, 7, 1, 0, 0},
                                         {2, 1, 8, 1, 3000, 0},
                                         {2, 2, 9, 1, 3000, 0},
                                         {3, 0, 10, 1, 0, 0},
                                         {5, 0, 11, 3, 0, 0}}));
    std::vector<std::pair<int, int>> passes;
    for (const ScheduledStep& e : s.Entries) passes.emplace_back(e.Pass, e.Passes);
    EXPECT_EQ(passes, (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {1, 2}, {1, 2}, {2, 2}, {2, 2}, {2, 2}, {1, 1}}));
    EXPECT_EQ(s.TotalMinutes, 14.0);
    EXPECT_TRUE(s.Holds);
}

TEST(ProgramSchedule, TenPassesOfALongProgramGatherNoRounding)
{
    const ProgramSchedule s = ScheduleOf(Steps("mixture;1000;0;;0.1\nflush;;;;0.2\nrepeat;10000;;;\n"));
    ASSERT_EQ(s.Entries.size(), 20000u);
    EXPECT_NEAR(s.TotalMinutes, 3000.0, 1e-9);
    EXPECT_NEAR(s.Entries.back().EndMinutes(), s.TotalMinutes, 1e-9);
    EXPECT_EQ(s.Entries.back().Pass, 10000);
}

}  // namespace
}  // namespace gasmixer
