#include "plot/Decimation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace gasmixer {
namespace {

constexpr double Gap = std::numeric_limits<double>::quiet_NaN();

// Rows at times 0, 1, 2 ... with the given A ppm.
std::vector<TMixtureSample> RowsOf(const std::vector<double>& values)
{
    std::vector<TMixtureSample> rows;
    for (std::size_t i = 0; i < values.size(); ++i)
        rows.push_back({static_cast<double>(i), values[i], 1000.0});
    return rows;
}

std::vector<TSampleBlock> BlocksOf(const std::vector<TMixtureSample>& rows)
{
    std::vector<TSampleBlock> blocks;
    for (std::size_t i = 0; i < rows.size(); ++i) SummariseRow(blocks, i, rows[i]);
    return blocks;
}

bool Same(const std::vector<TPlotPoint>& a, const std::vector<TPlotPoint>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const TPlotPoint& p, const TPlotPoint& q) {
        return p.Time == q.Time && (p.Value == q.Value || (std::isnan(p.Value) && std::isnan(q.Value)));
    });
}

// Decimated through the block summaries; reading every row must agree.
std::vector<TPlotPoint> Decimate(const std::vector<TMixtureSample>& rows, TPixelColumns columns,
                                 TMixtureField field = TMixtureField::APpm)
{
    auto points = DecimateMinMax(rows, BlocksOf(rows), field, columns);
    EXPECT_TRUE(Same(points, DecimateMinMax(rows, {}, field, columns))) << "blocks changed the result";
    return points;
}

// Times of the points, NaN values written as -1 so that they compare.
std::vector<double> TimesOf(const std::vector<TPlotPoint>& points)
{
    std::vector<double> times;
    for (const TPlotPoint& p : points) times.push_back(std::isnan(p.Value) ? -1.0 : p.Time);
    return times;
}

TEST(Decimation, FewerRowsThanColumnsComeOutUnchanged)
{
    const auto rows = RowsOf({5, 7, 6, 9});
    const auto points = Decimate(rows, {0.0, 3.0, 100});
    ASSERT_EQ(points.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(points[i].Time, rows[i].Time);
        EXPECT_EQ(points[i].Value, rows[i].APpm);
    }
}

TEST(Decimation, EachColumnKeepsItsMinimumAndMaximumInTimeOrder)
{
    // Two columns of five rows: [0,5) and [5,10).
    const auto rows = RowsOf({4, 9, 1, 5, 3, /**/ 6, 2, 8, 7, 5});
    const auto points = Decimate(rows, {0.0, 10.0, 2});
    // Maximum before minimum in the first column, the other way in the
    // second; the first row and the last row stay as well.
    EXPECT_EQ(TimesOf(points), (std::vector<double>{0, 1, 2, 6, 7, 9}));
    std::vector<double> values;
    for (const TPlotPoint& p : points) values.push_back(p.Value);
    EXPECT_EQ(values, (std::vector<double>{4, 9, 1, 2, 8, 5}));
}

TEST(Decimation, ManyRowsGiveAtMostTwoPointsPerColumnAndKeepTheEnds)
{
    std::vector<double> values;
    for (int i = 0; i < 100000; ++i) values.push_back(100.0 + 50.0 * std::sin(i * 0.01) + (i % 7));
    const auto rows = RowsOf(values);
    const int columns = 500;
    const auto points = Decimate(rows, {0.0, 99999.0, columns});
    EXPECT_LE(points.size(), 2u * columns + 2u);
    EXPECT_EQ(points.front().Time, 0.0);
    EXPECT_EQ(points.back().Time, 99999.0);
    // The extremes of the whole run survive.
    double lo = 1e9, hi = -1e9;
    for (const TPlotPoint& p : points) {
        lo = std::min(lo, p.Value);
        hi = std::max(hi, p.Value);
    }
    EXPECT_EQ(lo, *std::min_element(values.begin(), values.end()));
    EXPECT_EQ(hi, *std::max_element(values.begin(), values.end()));
    for (std::size_t i = 1; i < points.size(); ++i) EXPECT_LT(points[i - 1].Time, points[i].Time);
}

TEST(Decimation, EmptyCellsBreakTheLineInsteadOfDroppingToZero)
{
    struct Case {
        const char* name;
        std::vector<double> values;
        int columns;
        std::vector<double> times;  // -1: a break
    };
    const std::vector<Case> cases{
        {"one empty row", {5, 6, Gap, 7, 8}, 100, {0, 1, -1, 3, 4}},
        {"a run of empty rows is one break", {5, Gap, Gap, Gap, 8}, 100, {0, -1, 4}},
        {"empty rows at the ends draw nothing", {Gap, 5, 6, Gap}, 100, {1, 2}},
        {"all empty", {Gap, Gap, Gap}, 100, {}},
        {"infinite is empty too", {5, std::numeric_limits<double>::infinity(), 6}, 100, {0, -1, 2}},
        // Columns [0,3) [3,6) [6,9]: the break in the middle column survives.
        {"a break inside a column", {1, 2, 3, 4, Gap, 6, 7, 8, 9, 10}, 3, {0, 2, 3, -1, 5, 6, 9}},
        // The break ends the first column and the next one starts filled.
        {"a column that ends empty", {1, 2, Gap, 4, 5, 6}, 2, {0, 1, -1, 3, 5}},
    };
    for (const Case& c : cases) {
        const auto rows = RowsOf(c.values);
        const auto points = Decimate(rows, {0.0, static_cast<double>(c.values.size() - 1), c.columns});
        EXPECT_EQ(TimesOf(points), c.times) << c.name;
    }
}

TEST(Decimation, AZoomKeepsOnlyVisibleRowsAndTheNeighboursThatReachTheEdges)
{
    const auto rows = RowsOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(TimesOf(Decimate(rows, {2.5, 5.5, 100})), (std::vector<double>{2, 3, 4, 5, 6}));
    // An empty neighbour draws nothing towards the edge.
    auto gapped = RowsOf({1, 2, Gap, 4, 5, 6, Gap, 8});
    EXPECT_EQ(TimesOf(Decimate(gapped, {2.5, 5.5, 100})), (std::vector<double>{3, 4, 5}));
    // Nothing visible: the line from one neighbour to the other crosses the plot.
    EXPECT_EQ(TimesOf(Decimate(rows, {2.2, 2.8, 100})), (std::vector<double>{2, 3}));
}

TEST(Decimation, DegenerateRangesStillDraw)
{
    const auto one = RowsOf({42});
    ASSERT_EQ(Decimate(one, {0.0, 0.0, 10}).size(), 1u);
    EXPECT_TRUE(Decimate({}, {0.0, 1.0, 10}).empty());
    EXPECT_EQ(TimesOf(Decimate(RowsOf({1, 3, 2}), {0.0, 2.0, 0})), (std::vector<double>{0, 1, 2}));  // no width: one column
}

TEST(Decimation, TheOtherFieldIsReadWhenAsked)
{
    const auto rows = RowsOf({1, 2});
    const auto points = Decimate(rows, {0.0, 1.0, 10}, TMixtureField::H2OPpm);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].Value, 1000.0);
}

TEST(Decimation, BlockSummariesGiveWhatReadingEveryRowGives)
{
    // Long filled stretches (whole blocks), gaps of every length, ties and
    // windows that start and end anywhere.
    std::vector<double> values;
    unsigned state = 12345;
    const auto next = [&] { return state = state * 1103515245u + 12345u; };
    for (int i = 0; i < 20000; ++i) {
        const unsigned r = next() >> 16;
        const bool inGap = (i / 700) % 5 == 3 || r % 997 == 0;
        values.push_back(inGap ? Gap : static_cast<double>(r % 50));
    }
    const auto rows = RowsOf(values);
    for (const int columns : {1, 7, 64, 333, 1920})
        for (const auto& [from, to] : {std::pair{0.0, 19999.0}, {100.5, 9000.0}, {63.0, 64.0 * 200}, {5000.0, 5001.0}}) {
            const auto points = Decimate(rows, {from, to, columns});
            // Per column two extremes on each side of a break and the break after
            // them; the first and last rows and the neighbours besides.
            EXPECT_LE(points.size(), 6u * static_cast<unsigned>(columns) + 4u);
        }
}

}  // namespace
}  // namespace gasmixer
