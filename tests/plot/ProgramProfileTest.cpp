#include "plot/ProgramProfile.h"
#include "program/ProgramFile.h"

#include <gtest/gtest.h>

#include <cmath>

namespace gasmixer {
namespace {

constexpr TDateTime T0 = 45000.5;

TProgramProfile Profile(const std::string& steps)
{
    const ParsedProgram parsed = ParseProgram(std::string(ProgramFileHeader) + "\n" + steps);
    EXPECT_TRUE(parsed.Program) << parsed.Error.Line << ": " << parsed.Error.Reason;
    return ProfileOf(ScheduleOf(parsed.Program.value_or(MixtureProgram{})), T0);
}

// Minutes from the start and ppm, NaN for a break.
std::vector<std::pair<double, double>> Points(const std::vector<TPlotPoint>& points)
{
    std::vector<std::pair<double, double>> out;
    for (const TPlotPoint& p : points) out.emplace_back(std::round((p.Time - T0) / OneMinute * 1e6) / 1e6, p.Value);
    return out;
}

bool SamePoints(const std::vector<std::pair<double, double>>& a, const std::vector<std::pair<double, double>>& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].first != b[i].first) return false;
        if (std::isnan(a[i].second) != std::isnan(b[i].second)) return false;
        if (!std::isnan(a[i].second) && a[i].second != b[i].second) return false;
    }
    return true;
}

TEST(ProgramProfile, ARampIsDrawnAsItsStaircaseAndAFlushAsABandThatBreaksTheLine)
{
    const TProgramProfile p = Profile("mixture;2000;100;;2\nramp;6000;100;;2\nflush;;;;1\nmixture;500;0;;1\n");
    const double gap = std::nan("");
    EXPECT_TRUE(SamePoints(Points(p.A), {{0, 2000}, {2, 2000}, {2, 4000}, {3, 4000}, {3, 6000}, {4, 6000},
                                         {4, gap}, {5, 500}, {6, 500}}))
        << testing::PrintToString(Points(p.A));
    EXPECT_TRUE(SamePoints(Points(p.H2O), {{0, 100}, {2, 100}, {2, 100}, {3, 100}, {3, 100}, {4, 100},
                                           {4, gap}, {5, 0}, {6, 0}}));
    ASSERT_EQ(p.Bands.size(), 1u);
    EXPECT_EQ(p.Bands[0].Operation, ProgramOperation::Flush);
    EXPECT_NEAR((p.Bands[0].First - T0) / OneMinute, 4.0, 1e-6);
    EXPECT_NEAR((p.Bands[0].Last - T0) / OneMinute, 5.0, 1e-6);
    std::vector<std::string> labels;
    for (const TPlotMarker& m : p.Boundaries) labels.push_back(m.Label);
    EXPECT_EQ(labels, (std::vector<std::string>{"1", "2", "3", "4"})) << "a ramp's stairs are no step boundaries";
    ASSERT_EQ(p.Spans.size(), 4u);
    EXPECT_NEAR((p.Spans[1].Last - T0) / OneMinute, 4.0, 1e-6) << "a ramp's span takes all its stairs";
    EXPECT_NEAR((p.Extent.Last - T0) / OneMinute, 6.0, 1e-6);
}

TEST(ProgramProfile, EveryPassIsDrawnWithItsBoundaries)
{
    const TProgramProfile p = Profile("mixture;1000;0;;1\nbypass;;;;1\nrepeat;3;;;\nstop;;;;0\n");
    std::vector<std::string> labels;
    for (const TPlotMarker& m : p.Boundaries) labels.push_back(m.Label);
    EXPECT_EQ(labels, (std::vector<std::string>{"1", "2", "1", "2", "1", "2", "4"}));
    EXPECT_EQ(p.Bands.size(), 4u) << "three bypasses and the closing stop";
    ASSERT_EQ(p.Spans.size(), 7u);
    EXPECT_EQ(p.Spans[2].Step, 0);
    EXPECT_NEAR((p.Spans[2].First - T0) / OneMinute, 2.0, 1e-6);
    EXPECT_NEAR((p.Spans[2].Last - T0) / OneMinute, 3.0, 1e-6);
    EXPECT_NEAR((p.Extent.Last - T0) / OneMinute, 6.0, 1e-6);
    EXPECT_NEAR((Profile("stop;;;;0\n").Extent.Last - T0) / OneMinute, 1.0, 1e-6) << "at least a minute is shown";
}

}  // namespace
}  // namespace gasmixer
