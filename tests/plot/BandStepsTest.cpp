#include "plot/BandSteps.h"

#include <gtest/gtest.h>

#include <cmath>

namespace gasmixer {
namespace {

TEST(BandSteps, KeepsAStepOnlyWhereTheBandMoved)
{
    TBandSteps steps;
    const double none = std::nan("");
    steps.Add(1.0, 0.020, none);
    steps.Add(2.0, 0.0205, none);  // within 5 %: the same step
    steps.Add(3.0, 0.030, none);
    steps.Add(4.0, 0.030, 0.04);   // water gets a band
    steps.Add(5.0, none, none);    // no mixture: no band
    steps.Add(6.0, none, none);
    ASSERT_EQ(steps.Steps().size(), 4u);

    EXPECT_EQ(steps.At(0.5), nullptr);
    EXPECT_EQ(steps.At(2.5)->A, 0.020);
    EXPECT_EQ(steps.At(3.0)->A, 0.030);
    EXPECT_TRUE(std::isnan(steps.At(3.5)->H2O));
    EXPECT_EQ(steps.At(4.5)->H2O, 0.04);
    EXPECT_TRUE(std::isnan(steps.At(100.0)->A));
}

}  // namespace
}  // namespace gasmixer
