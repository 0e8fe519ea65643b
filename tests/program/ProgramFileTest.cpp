#include "program/ProgramFile.h"
#include "program/ProgramSchedule.h"

#include <gtest/gtest.h>

#include <clocale>

namespace gasmixer {
namespace {

ProgramStep Mixture(int a, int w, std::optional<double> limit, double minutes)
{
    return {StepKind::Mixture, a, w, limit, minutes};
}
ProgramStep Timed(StepKind kind, double minutes) { return {kind, 0, 0, std::nullopt, minutes}; }
ProgramStep Hold() { return {StepKind::Hold, 0, 0, std::nullopt, 0.0}; }
ProgramStep Ramp(int a, int w, std::optional<double> limit, double minutes)
{
    return {StepKind::Ramp, a, w, limit, minutes};
}
ProgramStep Repeat(int passes) { return {StepKind::Repeat, 0, 0, std::nullopt, 0.0, passes}; }

TEST(ProgramFile, ReadsTheExampleWithCommentsAndBlankLines)
{
    const ParsedProgram parsed = ParseProgram(
        "# oxygen series\n"
        "step;a_ppm;h2o_ppm;b_limit;minutes\n"
        "\n"
        "mixture;2000;0;;120\r\n"
        "  # flush between\n"
        "flush;;;;1\n"
        ";;;;\n"
        "mixture;500;10000;0.25;120\n"
        "stop;;;;0");
    ASSERT_TRUE(parsed.Program) << parsed.Error.Line << ": " << parsed.Error.Reason;
    const MixtureProgram expected{{Mixture(2000, 0, std::nullopt, 120), Timed(StepKind::Flush, 1),
                                   Mixture(500, 10000, 0.25, 120), Timed(StepKind::Stop, 0)}};
    EXPECT_EQ(*parsed.Program, expected);
    EXPECT_DOUBLE_EQ(ScheduleOf(*parsed.Program).TotalMinutes, 241.0);
}

TEST(ProgramFile, ReadsDecimalMinutesHoldAndAnyCaseWhateverTheLocale)
{
    // A locale with a decimal comma must not change how points are read.
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before ? before : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const ParsedProgram parsed = ParseProgram(
        "\xEF\xBB\xBFStep;A_ppm;H2O_ppm;B_limit;Minutes;\n"
        "Bypass;;;;0.5\n"
        "mixture;1000000;0;1.75;2.25\n"
        "hold;;;;\n");
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_TRUE(parsed.Program) << parsed.Error.Line << ": " << parsed.Error.Reason;
    const MixtureProgram expected{{Timed(StepKind::Bypass, 0.5), Mixture(1000000, 0, 1.75, 2.25), Hold()}};
    EXPECT_EQ(*parsed.Program, expected);
    EXPECT_TRUE(parsed.Program->EndsWithHold());
    EXPECT_EQ(ScheduleOf(*parsed.Program).Entries.size(), 2u);
}

TEST(ProgramFile, WritesWhatItReadsBack)
{
    const MixtureProgram program{{Mixture(2000, 0, std::nullopt, 120), Timed(StepKind::Flush, 1.5),
                                  Mixture(500, 10000, 0.25, 0.1), Hold()}};
    const std::string text = WriteProgram(program);
    EXPECT_EQ(text,
              "step;a_ppm;h2o_ppm;b_limit;minutes\n"
              "mixture;2000;0;;120\n"
              "flush;;;;1.5\n"
              "mixture;500;10000;0.25;0.1\n"
              "hold;;;;\n");
    const ParsedProgram parsed = ParseProgram(text);
    ASSERT_TRUE(parsed.Program);
    EXPECT_EQ(*parsed.Program, program);
}

TEST(ProgramFile, ReadsRampsRepeatsAndTheStairLengthOfTheHeader)
{
    const ParsedProgram parsed = ParseProgram(
        "step;a_ppm;h2o_ppm;b_limit;minutes;ramp_step=2.5\n"
        "mixture;2000;0;;10\n"
        "Ramp;10000;5000;0.3;60\n"
        "repeat;3;;;\n"
        "flush;;;;1\n"
        "repeat;1;;;\n");
    ASSERT_TRUE(parsed.Program) << parsed.Error.Line << ": " << parsed.Error.Reason;
    const MixtureProgram expected{
        {Mixture(2000, 0, std::nullopt, 10), Ramp(10000, 5000, 0.3, 60), Repeat(3), Timed(StepKind::Flush, 1),
         Repeat(1)},
        2.5};
    EXPECT_EQ(*parsed.Program, expected);

    const ParsedProgram plain = ParseProgram("step;a_ppm;h2o_ppm;b_limit;minutes\nflush;;;;1\n");
    ASSERT_TRUE(plain.Program);
    EXPECT_EQ(plain.Program->RampStepMinutes, 1.0) << "files without the option keep one-minute stairs";
}

TEST(ProgramFile, WritesRepeatsAsWrittenAndTheStairLengthOnlyWhenNotOneMinute)
{
    MixtureProgram program{{Mixture(2000, 0, std::nullopt, 10), Ramp(10000, 0, std::nullopt, 4), Repeat(10),
                            Timed(StepKind::Stop, 0)}};
    const std::string steps =
        "mixture;2000;0;;10\n"
        "ramp;10000;0;;4\n"
        "repeat;10;;;\n"
        "stop;;;;0\n";
    EXPECT_EQ(WriteProgram(program), "step;a_ppm;h2o_ppm;b_limit;minutes\n" + steps);
    program.RampStepMinutes = 0.5;
    const std::string text = WriteProgram(program);
    EXPECT_EQ(text, "step;a_ppm;h2o_ppm;b_limit;minutes;ramp_step=0.5\n" + steps);
    const ParsedProgram parsed = ParseProgram(text);
    ASSERT_TRUE(parsed.Program);
    EXPECT_EQ(*parsed.Program, program);
}

struct BadFile {
    const char* what;
    const char* text;
    int line;
    const char* reason;
};

class ProgramFileError : public testing::TestWithParam<BadFile> {};

TEST_P(ProgramFileError, NamesTheLineAndWhy)
{
    const BadFile& c = GetParam();
    const ParsedProgram parsed = ParseProgram(c.text);
    EXPECT_FALSE(parsed.Program) << c.what;
    EXPECT_EQ(parsed.Error.Line, c.line) << c.what;
    EXPECT_EQ(parsed.Error.Reason, c.reason) << c.what;
}

#define HEADER "step;a_ppm;h2o_ppm;b_limit;minutes\n"

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramFileError,
    testing::Values(
        BadFile{"empty file", "", 1,
                "the header step;a_ppm;h2o_ppm;b_limit;minutes is missing"},
        BadFile{"no header", "# c\nmixture;2000;0;;120\n", 2,
                "the first line must be the header step;a_ppm;h2o_ppm;b_limit;minutes"},
        BadFile{"no steps", "# c\n" HEADER "# only comments\n", 3, "the program has no steps"},
        BadFile{"unknown step", HEADER "mixture;1;0;;1\npurge;;;;1\n", 3,
                "unknown step \"purge\"; a step is mixture, ramp, flush, bypass, stop, hold or repeat"},
        BadFile{"too few fields", HEADER "flush;;1\n", 2, "expected 5 fields separated by ';', found 3"},
        BadFile{"extra value", HEADER "flush;;;;1;x\n", 2, "expected 5 fields separated by ';', found 6"},
        BadFile{"decimal comma", HEADER "\n\nflush;;;;1,5\n", 4,
                "minutes \"1,5\" is not a number; the decimal separator is a point"},
        BadFile{"minutes missing", HEADER "bypass;;;;\n", 2, "bypass needs its minutes"},
        BadFile{"negative minutes", HEADER "stop;;;;-1\n", 2, "minutes must not be negative"},
        BadFile{"infinite minutes", HEADER "stop;;;;inf\n", 2, "minutes \"inf\" is not a number"},
        BadFile{"ppm with decimals", HEADER "mixture;20.5;0;;1\n", 2,
                "a_ppm \"20.5\" is not a whole number of ppm from 0 to 1000000"},
        BadFile{"ppm too large", HEADER "mixture;0;1000001;;1\n", 2,
                "h2o_ppm \"1000001\" is not a whole number of ppm from 0 to 1000000"},
        BadFile{"ppm missing", HEADER "mixture;;0;;1\n", 2, "a mixture needs a_ppm"},
        BadFile{"ppm over the whole", HEADER "mixture;600000;500000;;1\n", 2,
                "a_ppm and h2o_ppm add up to more than 1000000"},
        BadFile{"zero limit", HEADER "mixture;1;0;0;1\n", 2, "b_limit must be more than 0 g/min"},
        BadFile{"limit not a number", HEADER "mixture;1;0;max;1\n", 2, "b_limit \"max\" is not a number"},
        BadFile{"values on a flush", HEADER "flush;2000;;;1\n", 2, "flush takes no a_ppm"},
        BadFile{"limit on a stop", HEADER "stop;;;0.3;1\n", 2, "stop takes no b_limit"},
        BadFile{"hold with minutes", HEADER "flush;;;;1\nhold;;;;5\n", 3, "hold takes no minutes"},
        BadFile{"hold not last", HEADER "flush;;;;1\nhold;;;;\nstop;;;;1\n", 3,
                "hold may only be the last step"},
        BadFile{"hold alone", HEADER "hold;;;;\n", 2, "hold needs a step before it to keep running"},
        BadFile{"zero minutes inside", HEADER "flush;;;;0\nstop;;;;1\n", 2,
                "only the last step may last 0 minutes"},
        BadFile{"zero minutes run again", HEADER "flush;;;;1\nstop;;;;0\nrepeat;2;;;\n", 3,
                "only the last step may last 0 minutes"},
        BadFile{"unknown header option", "step;a_ppm;h2o_ppm;b_limit;minutes;stair=2\nflush;;;;1\n", 1,
                "unknown header option \"stair=2\"; the header takes only ramp_step=<minutes>"},
        BadFile{"stair of no time", "# c\nstep;a_ppm;h2o_ppm;b_limit;minutes;ramp_step=0\nflush;;;;1\n", 2,
                "ramp_step must be more than 0 minutes"},
        BadFile{"stair with a comma", "step;a_ppm;h2o_ppm;b_limit;minutes;ramp_step=1,5\nflush;;;;1\n", 1,
                "ramp_step \"1,5\" is not a number; the decimal separator is a point"},
        BadFile{"ramp first", HEADER "flush;;;;1\nramp;2000;0;;10\n", 3,
                "a ramp needs a mixture or ramp before it to start from"},
        BadFile{"ramp of no time", HEADER "mixture;1;0;;1\nramp;2000;0;;0\n", 3, "a ramp needs more than 0 minutes"},
        BadFile{"ramp without water", HEADER "mixture;1;0;;1\nramp;2000;;;5\n", 3, "a ramp needs h2o_ppm"},
        BadFile{"ramp over the whole", HEADER "mixture;1;0;;1\nramp;2000;999000;;5\n", 3,
                "a_ppm and h2o_ppm add up to more than 1000000"},
        BadFile{"repeat first", HEADER "repeat;2;;;\nflush;;;;1\n", 2,
                "repeat has no steps since the previous repeat or the start"},
        BadFile{"repeat twice", HEADER "flush;;;;1\nrepeat;2;;;\n\nrepeat;2;;;\n", 5,
                "repeat has no steps since the previous repeat or the start"},
        BadFile{"repeat without count", HEADER "flush;;;;1\nrepeat;;;;\n", 3,
                "repeat needs how many times in all, as its second field"},
        BadFile{"repeat zero times", HEADER "flush;;;;1\nrepeat;0;;;\n", 3,
                "repeat \"0\" is not a whole number of times from 1 to 10000"},
        BadFile{"repeat with minutes", HEADER "flush;;;;1\nrepeat;2;;;5\n", 3, "repeat takes no minutes"},
        BadFile{"hold inside a repeat", HEADER "flush;;;;1\nhold;;;;\nrepeat;2;;;\n", 3,
                "hold may only be the last step"},
        BadFile{"too many stairs", HEADER "mixture;1;0;;1\nramp;2;0;;6000\nrepeat;20;;;\n", 4,
                "the program runs more than 100000 steps and ramp stairs in all"},
        BadFile{"a ramp of years", "step;a_ppm;h2o_ppm;b_limit;minutes;ramp_step=0.001\nmixture;1;0;;1\nramp;2;0;;1e300\n",
                3, "minutes \"1e300\" is not a number"},
        BadFile{"a ramp of centuries", "step;a_ppm;h2o_ppm;b_limit;minutes;ramp_step=0.001\nmixture;1;0;;1\n"
                "ramp;2;0;;99999999999999\n", 3, "the program runs more than 100000 steps and ramp stairs in all"}));

TEST(ProgramFile, TableRowsAreReadLikeLinesAndEmptyRowsSkipped)
{
    const ParsedProgram good = ParseProgramRows(
        {{1, {"mixture", "2000", "0", "", "120"}}, {2, {"", "", "", "", ""}}, {3, {"stop", "", "", "", "0"}}});
    ASSERT_TRUE(good.Program);
    EXPECT_EQ(good.Program->Steps.size(), 2u);

    const ParsedProgram bad = ParseProgramRows({{1, {"flush", "", "", "", "1"}}, {2, {"mixture", "x", "0", "", "1"}}});
    EXPECT_FALSE(bad.Program);
    EXPECT_EQ(bad.Error.Line, 2);

    const ParsedProgram stairs = ParseProgramRows(
        {{1, {"mixture", "2000", "0", "", "1"}}, {2, {"ramp", "4000", "0", "", "3"}}, {3, {"repeat", "2", "", "", ""}}},
        1.5);
    ASSERT_TRUE(stairs.Program) << stairs.Error.Reason;
    EXPECT_EQ(stairs.Program->RampStepMinutes, 1.5);
    EXPECT_EQ(stairs.Program->Steps[2], Repeat(2));
}

}  // namespace
}  // namespace gasmixer
