#include "plot/MixtureTrace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace gasmixer {
namespace {

constexpr double Empty = std::numeric_limits<double>::quiet_NaN();

std::vector<std::string> LabelsOf(const TMixtureTrace& trace)
{
    std::vector<std::string> labels;
    for (const TPlotMarker& m : trace.Markers()) labels.push_back(m.Label);
    return labels;
}

TEST(MixtureTrace, MarksTheFirstRowEachModeChangeAndEachReset)
{
    TMixtureTrace trace;
    trace.AddRecord(1.0, "Standby", Empty, Empty);
    trace.AddRecord(2.0, "Standby", Empty, Empty);
    trace.AddReset(3.0);
    trace.AddRecord(4.0, "Dilution", 150.0, 0.0);
    trace.AddRecord(5.0, "Dilution", 151.0, 0.0);
    trace.AddReset(6.0);
    trace.AddRecord(7.0, "Dilution", 149.0, 0.0);  // same mode after a reset: no marker
    trace.AddRecord(8.0, "Bypass", 0.0, 0.0);
    EXPECT_EQ(LabelsOf(trace),
              (std::vector<std::string>{"Standby", "Reset", "Dilution", "Reset", "Bypass"}));
    std::vector<double> times;
    for (const TPlotMarker& m : trace.Markers()) times.push_back(m.Time);
    EXPECT_EQ(times, (std::vector<double>{1.0, 3.0, 4.0, 6.0, 8.0}));
    EXPECT_EQ(trace.Samples().size(), 6u);
    EXPECT_TRUE(std::isnan(trace.Samples().front().APpm));
}

TEST(MixtureTrace, ResetsWithNoRowBetweenShareOneMarkerAtTheLatest)
{
    TMixtureTrace trace;
    trace.AddRecord(1.0, "Dilution", 150.0, 0.0);
    trace.AddReset(2.0);
    trace.AddReset(2.5);
    trace.AddReset(3.0);
    ASSERT_EQ(LabelsOf(trace), (std::vector<std::string>{"Dilution", "Reset"}));
    EXPECT_EQ(trace.Markers().back().Time, 3.0);
    trace.AddRecord(4.0, "Dilution", 150.0, 0.0);
    trace.AddReset(5.0);
    EXPECT_EQ(LabelsOf(trace), (std::vector<std::string>{"Dilution", "Reset", "Reset"}));
}

TEST(MixtureTrace, AClockSetBackKeepsTheRowsInTimeOrder)
{
    TMixtureTrace trace;
    trace.AddRecord(10.0, "Dilution", 1.0, 1.0);
    trace.AddRecord(9.0, "Dilution", 2.0, 2.0);
    trace.AddReset(8.0);
    trace.AddRecord(11.0, "Dilution", 3.0, 3.0);
    EXPECT_EQ(trace.Samples()[1].Time, 10.0);
    EXPECT_EQ(trace.Markers().back().Time, 10.0);
    EXPECT_EQ(trace.Samples()[2].Time, 11.0);
}

TEST(MixtureTrace, ExtentSpansRowsAndMarkers)
{
    TMixtureTrace trace;
    EXPECT_FALSE(trace.Extent());
    trace.AddReset(2.0);
    ASSERT_TRUE(trace.Extent());
    EXPECT_EQ(trace.Extent()->First, 2.0);
    EXPECT_EQ(trace.Extent()->Last, 2.0);
    trace.AddRecord(3.0, "Standby", Empty, Empty);
    EXPECT_EQ(trace.Extent()->First, 2.0);
    EXPECT_EQ(trace.Extent()->Last, 3.0);
}

}  // namespace
}  // namespace gasmixer
