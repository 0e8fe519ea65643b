#include "mixing/TGEstimate.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace gasmixer {
namespace {

using Lines = std::vector<std::string>;
using Text = std::optional<std::string>;

// Four rows below the header, the last one a record as the table writes it.
TGMixInputs Record(std::int32_t P, std::int32_t X, const char* aPpm, const char* bPpm,
                   const char* h2oPpm)
{
    return {P, X, 4, aPpm, bPpm, h2oPpm};
}

TGMixTexts Estimate(const TGMixInputs& inputs) { return EstimateTGMix(inputs, FormatSettings{}); }

TEST(TGEstimate, DilutesTheLastRecordByTheProtectiveGas)
{
    const TGMixTexts t = Estimate(Record(300, 100, "0 000 160", "0 989 840", "0 010 000"));

    EXPECT_EQ(t.Outcome, TGMixOutcome::Estimated);
    EXPECT_EQ(t.APpm, "0 000 040");
    EXPECT_EQ(t.ALog, "-4.4");
    EXPECT_EQ(t.BPpm, "0 999 960");  // water not taken off
    EXPECT_EQ(t.BLog, "0.0");
    EXPECT_EQ(t.H2OPpm, "0 002 500");
    EXPECT_EQ(t.H2OLog, "-2.6");
    EXPECT_EQ(t.Log, (Lines{"TG calculations start", "A source ppm   : 0 000 160",
                            "B source ppm   : 0 989 840", "H2O source ppm : 0 010 000",
                            "TG calculations end"}));
}

TEST(TGEstimate, WithoutProtectiveGasTheRecordPassesUnchanged)
{
    const TGMixTexts t = Estimate(Record(0, 250, "0 000 150", "0 999 850", "0 000 000"));

    EXPECT_EQ(t.APpm, "0 000 150");
    EXPECT_EQ(t.ALog, "-3.8");
    EXPECT_EQ(t.BPpm, "0 999 850");
    EXPECT_EQ(t.H2OPpm, "0 000 000");
    EXPECT_EQ(t.H2OLog, Text{}) << "no logarithm of nothing";
}

TEST(TGEstimate, LogarithmsOnlyForPresentGases)
{
    const TGMixTexts pureA = Estimate(Record(0, 1, "1 000 000", "0 000 000", "0 000 000"));
    EXPECT_EQ(pureA.ALog, "0.0");
    EXPECT_EQ(pureA.BPpm, "0 000 000");
    EXPECT_EQ(pureA.BLog, Text{});
    EXPECT_EQ(pureA.H2OLog, Text{});

    const TGMixTexts noA = Estimate(Record(1, 1, "0 000 000", "0 980 000", "0 020 000"));
    EXPECT_EQ(noA.APpm, "0 000 000");
    EXPECT_EQ(noA.ALog, Text{});
    EXPECT_EQ(noA.BPpm, "1 000 000");
    EXPECT_EQ(noA.H2OPpm, "0 010 000");
    EXPECT_EQ(noA.H2OLog, "-2.0");
}

TEST(TGEstimate, ReadsAndWritesTheLocaleDecimalSeparator)
{
    FormatSettings comma;
    comma.decimalSeparator = ',';
    const TGMixTexts t = EstimateTGMix(Record(300, 100, "160,0", "0", "1 000,5"), comma);
    EXPECT_EQ(t.Outcome, TGMixOutcome::Estimated);
    EXPECT_EQ(t.APpm, "0 000 040");
    EXPECT_EQ(t.ALog, "-4,4");
    EXPECT_EQ(t.H2OPpm, "0 000 250");

    EXPECT_EQ(EstimateTGMix(Record(300, 100, "160.0", "0", "0"), comma).Outcome,
              TGMixOutcome::Failed);
}

TEST(TGEstimate, WithoutFlowsEveryLabelReadsUnknown)
{
    struct Flows {
        std::int32_t P;
        std::int32_t X;
    };
    // INT_MIN twice would wrap round to 0 in 32 bits and pass the check.
    for (const Flows f : {Flows{0, 0}, Flows{-5, 5}, Flows{1, -1}, Flows{INT_MIN, INT_MIN}}) {
        const TGMixTexts t = Estimate(Record(f.P, f.X, "0 000 160", "0 989 840", "0 010 000"));
        EXPECT_EQ(t.Outcome, TGMixOutcome::NoFlows) << f.P << " " << f.X;
        for (const Text& label : {t.APpm, t.ALog, t.BPpm, t.BLog, t.H2OPpm, t.H2OLog})
            EXPECT_EQ(label, "Unknown") << f.P << " " << f.X;
        EXPECT_EQ(t.Log, Lines{"TG calculations start"});
    }
    EXPECT_EQ(Estimate(Record(INT_MAX, INT_MAX, "0 000 160", "0", "0")).APpm, "0 000 080");
}

TEST(TGEstimate, NothingBeforeThreeRecords)
{
    for (int lastRow : {0, 1, 2}) {
        TGMixInputs inputs = Record(300, 100, "0 000 160", "0 989 840", "0 010 000");
        inputs.LastRow = lastRow;
        const TGMixTexts t = Estimate(inputs);
        EXPECT_EQ(t.Outcome, TGMixOutcome::TooFewRows) << lastRow;
        EXPECT_EQ(t.Log, Lines{"TG calculations start"});
        for (const Text& label : {t.APpm, t.ALog, t.BPpm, t.BLog, t.H2OPpm, t.H2OLog})
            EXPECT_EQ(label, Text{}) << lastRow;
    }
    TGMixInputs third = Record(300, 100, "0 000 160", "0 989 840", "0 010 000");
    third.LastRow = 3;
    EXPECT_EQ(Estimate(third).Outcome, TGMixOutcome::Estimated);
}

TEST(TGEstimate, NoMixtureFlowFailsAfterLoggingTheSource)
{
    const TGMixTexts t = Estimate(Record(300, 0, "0 000 160", "0 989 840", "0 010 000"));
    EXPECT_EQ(t.Outcome, TGMixOutcome::Failed);
    EXPECT_EQ(t.Log, (Lines{"TG calculations start", "A source ppm   : 0 000 160",
                            "B source ppm   : 0 989 840", "H2O source ppm : 0 010 000",
                            "TG calculations exception"}));
    for (const Text& label : {t.APpm, t.ALog, t.BPpm, t.BLog, t.H2OPpm, t.H2OLog})
        EXPECT_EQ(label, Text{});
}

TEST(TGEstimate, CellsThatAreNotNumbersFail)
{
    struct Cells {
        const char* a;
        const char* b;
        const char* h2o;
    };
    // The first is the "Reset" row a new plan leaves at the end of the table.
    for (const Cells c : {Cells{"", "", ""}, Cells{"0 000 160", "", "0"}, Cells{"abc", "0", "0"},
                          Cells{"0", "0", "1,5"}, Cells{"inf", "0", "0"}, Cells{"nan", "0", "0"},
                          Cells{"1e999", "0", "0"}}) {
        const TGMixTexts t = Estimate(Record(300, 100, c.a, c.b, c.h2o));
        EXPECT_EQ(t.Outcome, TGMixOutcome::Failed) << c.a << "|" << c.b << "|" << c.h2o;
        EXPECT_EQ(t.Log, (Lines{"TG calculations start", "TG calculations exception"}));
        EXPECT_EQ(t.APpm, Text{});
    }
}

TEST(TGEstimate, FaultPartWayKeepsTheLabelsAlreadySet)
{
    // d = -99 / 100 + 1 = 0.01 leaves gas A in range and takes the water past
    // the largest double.
    const TGMixTexts t = Estimate(Record(-99, 100, "0 000 160", "0", "1e307"));
    EXPECT_EQ(t.Outcome, TGMixOutcome::Failed);
    EXPECT_EQ(t.APpm, "0 016 000");
    EXPECT_EQ(t.ALog, "-1.8");
    EXPECT_EQ(t.BPpm, "0 984 000");
    EXPECT_EQ(t.H2OPpm, Text{});
    EXPECT_EQ(t.H2OLog, Text{});
    EXPECT_EQ(t.Log.back(), "TG calculations exception");
}

}  // namespace
}  // namespace gasmixer
