#include "program/ProgramFile.h"

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
    EXPECT_DOUBLE_EQ(parsed.Program->TotalMinutes(), 241.0);
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
    EXPECT_EQ(parsed.Program->TimedStepCount(), 2);
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
                "unknown step \"purge\"; a step is mixture, flush, bypass, stop or hold"},
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
                "only the last step may last 0 minutes"}));

TEST(ProgramFile, TableRowsAreReadLikeLinesAndEmptyRowsSkipped)
{
    const ParsedProgram good = ParseProgramRows(
        {{1, {"mixture", "2000", "0", "", "120"}}, {2, {"", "", "", "", ""}}, {3, {"stop", "", "", "", "0"}}});
    ASSERT_TRUE(good.Program);
    EXPECT_EQ(good.Program->Steps.size(), 2u);

    const ParsedProgram bad = ParseProgramRows({{1, {"flush", "", "", "", "1"}}, {2, {"mixture", "x", "0", "", "1"}}});
    EXPECT_FALSE(bad.Program);
    EXPECT_EQ(bad.Error.Line, 2);
}

}  // namespace
}  // namespace gasmixer
