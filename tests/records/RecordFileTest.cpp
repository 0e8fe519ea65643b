#include "records/RecordFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gasmixer::test {
namespace {

using Cells = std::vector<std::string>;

Cells HeaderCells()
{
    return {"Time", "Mode", "Method", "Gas A (g)", "Gas B (g)", "H2O (g)", "Total mass (g)",
            "A mass frac", "B mass frac", "H2O mass frac", "Total moles", "Moles A", "Moles B",
            "Moles H2O", "A ppm", "B ppm", "H2O ppm", "log10(pA)", "log10(pB)", "log10(pH2O)"};
}

TEST(RecordFileTest, SmallTableByteForByte)
{
    Cells reset(20);
    reset[1] = "Reset";
    const Cells data{"14:05:09", "Dilution", "A (constant) in B", "0.000 048", "1.234 567", "0.000 000",
                     "1.234 615", "0.000 039", "0.999 961", "0.000 000", "0.044 093", "0.000 002",
                     "0.044 091", "0.000 000", "0 000 150", "0 999 850", "0 000 000", "-3.82", "-0.00", ""};
    Cells bypass(20);
    bypass[0] = "14:06:00";
    bypass[1] = "Bypass";
    bypass[2] = "Dry B";

    std::string file = RecordFilePreamble("Mixture plan\nWater at 20 \u00baC\n");
    file += RecordFileLine(HeaderCells(), true);
    file += RecordFileLine(reset, false);
    file += RecordFileLine(data, false);
    file += RecordFileLine(bypass, false);

    const std::string expected =
        "Data starts after *** line\r\n"
        "Mixture plan\r\n"
        "Water at 20 \xba" "C\r\n"
        "\r\n"
        "*********\r\n"
        "Time;Mode;Method;\"Gas A (g)\";\"Gas B (g)\";\"H2O (g)\";\"Total mass (g)\";\"A mass frac\";"
        "\"B mass frac\";\"H2O mass frac\";\"Total moles\";\"Moles A\";\"Moles B\";\"Moles H2O\";"
        "\"A ppm\";\"B ppm\";\"H2O ppm\";log10(pA);log10(pB);log10(pH2O)\r\n"
        ";Reset;;;;;;;;;;;;;;;;;;\r\n"
        "14:05:09;Dilution;\"A(constant)inB\";\"0.000048\";\"1.234567\";\"0.000000\";\"1.234615\";"
        "\"0.000039\";\"0.999961\";\"0.000000\";\"0.044093\";\"0.000002\";\"0.044091\";\"0.000000\";"
        "\"0000150\";\"0999850\";\"0000000\";-3.82;-0.00;\r\n"
        "14:06:00;Bypass;\"DryB\";;;;;;;;;;;;;;;;;\r\n";
    EXPECT_EQ(file, expected);
}

TEST(RecordFileTest, PlanTextEndsWithOneEmptyLineWhateverItsLineBreaks)
{
    struct Case {
        std::string plan;
        std::string lines;
    };
    for (const Case& c : {Case{"", "\r\n"}, Case{"a\r\nb\r\n", "a\r\nb\r\n\r\n"}, Case{"a\nb\n", "a\r\nb\r\n\r\n"},
                          Case{"a\rb", "a\r\nb\r\n"}, Case{"a\n\nb\r\n", "a\r\n\r\nb\r\n\r\n"}}) {
        EXPECT_EQ(RecordFilePreamble(c.plan), "Data starts after *** line\r\n" + c.lines + "*********\r\n")
            << c.plan;
    }
}

TEST(RecordFileTest, CellsWithSeparatorsQuotesOrControlCharactersAreQuoted)
{
    struct Case {
        std::string cell;
        std::string written;
    };
    for (const Case& c : {Case{"", ""}, Case{"plain", "plain"}, Case{"a;b", "\"a;b\""},
                          Case{"say \"hi\"", "\"say \"\"hi\"\"\""}, Case{"tab\there", "\"tab\there\""},
                          Case{"\x01", "\"\x01\""}, Case{"-3.82", "-3.82"}, Case{"\"", "\"\"\"\""}}) {
        EXPECT_EQ(QuoteCell(c.cell), c.written) << c.cell;
    }
}

TEST(RecordFileTest, DataRowsLoseBlanksInsideAndOutsideQuotesButTheHeaderKeepsThem)
{
    const Cells cells{"a b", "x;y z", " "};
    EXPECT_EQ(RecordFileLine(cells, true), "\"a b\";\"x;y z\";\" \"\r\n");
    EXPECT_EQ(RecordFileLine(cells, false), "\"ab\";\"x;yz\";\"\"\r\n");
}

TEST(RecordFileTest, TextBecomesLatin1WithAQuestionMarkForOtherCharacters)
{
    struct Case {
        std::string utf8;
        std::string latin1;
    };
    for (const Case& c : {Case{"20 \u00baC", "20 \xba" "C"}, Case{"\u00e9\u00ff", "\xe9\xff"},
                          Case{"\u20ac", "?"}, Case{"\U0001F600x", "?x"}, Case{"\xff\xc3", "??"},
                          Case{"\xc3(", "?("}, Case{"ascii;", "ascii;"}}) {
        EXPECT_EQ(ToLatin1(c.utf8), c.latin1) << c.utf8;
    }
    // Written after earlier lines, only the new line is converted.
    std::string out = "\xba;\r\n";
    const std::vector<std::string_view> cells{"20 \u00baC", "x"};
    const std::size_t before = out.size();
    out.resize(before + RecordFileLineBound(cells));
    out.resize(static_cast<std::size_t>(WriteRecordFileLine(out.data() + before, cells, false) - out.data()));
    EXPECT_EQ(out, "\xba;\r\n\"20\xba" "C\";x\r\n");
}

}  // namespace
}  // namespace gasmixer::test
