#include "tools/RunOptions.h"

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

const std::vector<std::string> Full{"p.csv",   "--relay-port", "/dev/pts/4", "--mfc-port", "/dev/pts/3",
                                    "--gas-a", "O2",           "--gas-b",    "Ar"};

TEST(RunOptions, ReadsAFullCommandLineInAnyOrder)
{
    ParsedRunOptions parsed = ParseRunOptions(Full);
    ASSERT_TRUE(parsed.Options) << parsed.Error;
    EXPECT_EQ(*parsed.Options, (RunOptions{"p.csv", "/dev/pts/4", "/dev/pts/3", "O2", "Ar", "", false, false, "", ""}));

    parsed = ParseRunOptions({"--save", "out dir/t.csv", "--gas-b", "N2", "--gas-a", "Air", "--mfc-port", "m",
                              "--relay-port", "m", "prog.txt"});
    ASSERT_TRUE(parsed.Options) << parsed.Error;
    EXPECT_EQ(*parsed.Options, (RunOptions{"prog.txt", "m", "m", "Air", "N2", "out dir/t.csv", false, false, "", ""}));
}

TEST(RunOptions, AReportIsOptionalAndNotForARecovery)
{
    std::vector<std::string> args = Full;
    args.insert(args.end(), {"--report", "run report.pdf"});
    const ParsedRunOptions parsed = ParseRunOptions(args);
    ASSERT_TRUE(parsed.Options) << parsed.Error;
    EXPECT_EQ(parsed.Options->ReportPath, "run report.pdf");
    EXPECT_EQ(ParseRunOptions({"p.csv", "--fake", "--report", "r.pdf"}).Options->ReportPath, "r.pdf");
    EXPECT_FALSE(ParseRunOptions({"p.csv", "--fake", "--report"}).Options);
    EXPECT_FALSE(ParseRunOptions({"--save", "t.csv", "--recover", "j.csv", "--report", "r.pdf"}).Options);
}

TEST(RunOptions, RecoverTakesAJournalAndANewFile)
{
    const ParsedRunOptions parsed = ParseRunOptions({"--save", "t.csv", "--recover", "journal 1.csv"});
    ASSERT_TRUE(parsed.Options) << parsed.Error;
    EXPECT_EQ(parsed.Options->RecoverPath, "journal 1.csv");
    EXPECT_EQ(parsed.Options->SavePath, "t.csv");
}

TEST(RunOptions, FakeNeedsNoPortsNorGases)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"p.csv", "--fake"},
                                                 {"--fake", "p.csv", "--gas-a", "O2", "--gas-b", "N2"}}) {
        const ParsedRunOptions parsed = ParseRunOptions(args);
        ASSERT_TRUE(parsed.Options) << parsed.Error;
        EXPECT_TRUE(parsed.Options->Fake);
    }
    EXPECT_TRUE(ParseRunOptions({"--help", "--bogus"}).Options->Help);
}

TEST(RunOptions, RefusesWhatItCannotFollow)
{
    const auto with = [](std::vector<std::string> extra) {
        std::vector<std::string> args = Full;
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    };
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{}, "no program file given"},
        {with({"q.csv"}), "one program file only"},
        {with({"--verbose"}), "unknown option --verbose"},
        {with({"--gas-a", "H2"}), "--gas-a given twice"},
        {with({"--save"}), "--save needs a value"},
        {{"p.csv", "--relay-port", "--mfc-port", "m", "--gas-a", "O2", "--gas-b", "Ar"}, "--relay-port needs a value"},
        {{"p.csv", "--relay-port", "", "--mfc-port", "m", "--gas-a", "O2", "--gas-b", "Ar"},
         "--relay-port needs a value"},
        {{"p.csv", "--relay-port", "r", "--gas-a", "O2", "--gas-b", "Ar"}, "--mfc-port is needed (or --fake)"},
        {{"p.csv", "--relay-port", "r", "--mfc-port", "m", "--gas-b", "Ar"}, "--gas-a is needed (or --fake)"},
        {{"p.csv", "--fake", "--mfc-port", "m"}, "--fake takes no ports"},
        {{"p.csv", "--fake", "--gas-a", "H2"}, "--fake runs O2 as gas A in N2 as gas B"},
        {{"--recover", "j.csv"}, "--recover needs --save FILE"},
        {{"--recover", "j.csv", "--save", "t.csv", "p.csv"}, "--recover takes --save FILE only"},
        {{"--recover", "j.csv", "--save", "t.csv", "--fake"}, "--recover takes --save FILE only"},
        {{"--recover", "j.csv", "--save", "t.csv", "--mfc-port", "m"}, "--recover takes --save FILE only"},
    };
    for (const auto& c : cases) {
        const ParsedRunOptions parsed = ParseRunOptions(c.args);
        EXPECT_FALSE(parsed.Options) << c.error;
        EXPECT_EQ(parsed.Error, c.error);
    }
}

}  // namespace
}  // namespace gasmixer
