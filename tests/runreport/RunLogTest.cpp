#include "runreport/RunLog.h"

#include "gasdata/MolarMasses.h"

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

constexpr double Minute = 1.0 / 24 / 60;
constexpr TDateTime Start = 46000.5;

// O2 at 0.002 g/min in N2 at 1 g/min, dry: the records' law gives the ppm.
RecordRow Row(double minutes, double gramsPerMinuteA = 0.002, const char* mode = "Dilution")
{
    RecordRow row;
    row.Values[FieldTime] = Start + minutes * Minute;
    row.Mode = mode;
    row.MinutesSinceReset = minutes;
    row.Values[FieldGasA] = gramsPerMinuteA * minutes;
    row.Values[FieldGasB] = 1.0 * minutes;
    row.Values[FieldH2O] = 0.0;
    return row;
}

TAppliedPlan Plan()
{
    TAppliedPlan plan;
    plan.Time = Start;
    TFlowInfo a = FakeFlowInfoA();
    TFlowInfo b = FakeFlowInfoB();
    plan.Running = TRunningMixture{TMixingMethod::AConstantInB, FindCompound("O2"), FindCompound("N2"), a, b, 0.0};
    return plan;
}

double Ppm(double gramsA, double gramsB)
{
    const double nA = gramsA / FindCompound("O2").MolarMass;
    const double nB = gramsB / FindCompound("N2").MolarMass;
    return nA / (nA + nB) * 1e6;
}

TEST(RunLog, MeanOverTheLastFiveMinutesOfEachPlan)
{
    TRunLog log;
    log.AddRow(Row(0, 0.002, "Flush"));
    log.AddPlan(Plan());
    // The first minutes at a different flow of A must not count.
    for (int m = 0; m <= 4; ++m) log.AddRow(Row(m, 0.001));
    for (int m = 5; m <= 30; ++m) {
        RecordRow row = Row(m);
        row.Values[FieldGasA] = 0.001 * 4 + 0.002 * (m - 4);
        log.AddRow(row);
    }
    ASSERT_EQ(log.Plans().size(), 1u);
    EXPECT_LE(log.Plans()[0].Rows.size(), 9u) << "only the last minutes are kept";
    const std::optional<TProducedMean> mean = log.Mean(log.Plans()[0], TAccuracySettings{});
    ASSERT_TRUE(mean);
    EXPECT_DOUBLE_EQ(mean->Minutes, 5.0);
    EXPECT_NEAR(mean->Mixture.Species[SpeciesA].Ppm, Ppm(0.010, 5.0), 1e-6);
    EXPECT_GT(mean->Mixture.Species[SpeciesA].Expanded, 0.0);
    EXPECT_NEAR(mean->From, Start + 25 * Minute, 1e-9);
    EXPECT_EQ(*log.Start(), Start);
    EXPECT_NEAR(*log.End(), Start + 30 * Minute, 1e-9);
}

TEST(RunLog, AShortPlanIsAveragedWholeAndAResetStartsAgain)
{
    TRunLog log;
    log.AddPlan(Plan());
    for (int m = 1; m <= 3; ++m) log.AddRow(Row(m, 0.001));
    const auto shortMean = log.Mean(log.Plans()[0], TAccuracySettings{});
    ASSERT_TRUE(shortMean);
    EXPECT_DOUBLE_EQ(shortMean->Minutes, 3.0);
    EXPECT_NEAR(shortMean->Mixture.Species[SpeciesA].Ppm, Ppm(0.003, 3.0), 1e-6);

    // Dilution pressed again: the totalizers count from zero.
    log.AddRow(Row(1, 0.002));
    const auto afterReset = log.Mean(log.Plans()[0], TAccuracySettings{});
    EXPECT_DOUBLE_EQ(afterReset->Minutes, 1.0);
    EXPECT_NEAR(afterReset->Mixture.Species[SpeciesA].Ppm, Ppm(0.002, 1.0), 1e-6);
}

TEST(RunLog, NoMeanWithoutRowsOrWithoutItsMixture)
{
    TRunLog log;
    TAppliedPlan unknown = Plan();
    unknown.Running.reset();
    log.AddPlan(unknown);
    log.AddRow(Row(1));
    log.AddPlan(Plan());
    log.AddRow(Row(1, 0.002, "Stop"));
    for (const auto& plan : log.Plans()) EXPECT_FALSE(log.Mean(plan, TAccuracySettings{}));
}

}  // namespace
}  // namespace gasmixer
