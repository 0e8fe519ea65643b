#include "mixing/FractionBalance.h"

#include <gtest/gtest.h>

namespace gasmixer {
namespace {

struct BalanceCase {
    const char* what;
    int a;
    int w;
    double p;
    bool fake;
    TFractions expected;
};

class FractionBalance : public testing::TestWithParam<BalanceCase> {};

TEST_P(FractionBalance, GasBTakesTheRestAndWaterIsCapped)
{
    const BalanceCase& c = GetParam();
    SCOPED_TRACE(c.what);
    EXPECT_EQ(BalanceFractions(c.a, c.w, c.p, c.fake), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FractionBalance,
    testing::Values(
        BalanceCase{"dry", 150, 0, 0.023, false, {150, 999850, 0}},
        BalanceCase{"below saturation", 150, 10000, 0.023, false, {150, 989850, 10000}},
        // (1 000 000 - 150) x 0.023 = 22 996.55
        BalanceCase{"above saturation", 150, 30000, 0.023, false, {150, 976853, 22997}},
        BalanceCase{"cap half rounds down to even", 0, 10, 2.5e-6, false, {0, 999998, 2}},
        BalanceCase{"cap half rounds up to even", 0, 10, 3.5e-6, false, {0, 999996, 4}},
        BalanceCase{"at saturation exactly", 0, 23000, 0.023, false, {0, 977000, 23000}},
        BalanceCase{"fake mixer takes any water", 150, 30000, 0.023, true, {150, 969850, 30000}},
        BalanceCase{"fake mixer, water leaves no gas B", 990000, 10000, 0.023, true, {990000, 0, 10000}},
        BalanceCase{"fake mixer, too much", 600000, 500000, 0.023, true, {600000, -100000, 500000}},
        BalanceCase{"no vapour pressure, no water", 150, 100, 0.0, false, {150, 999850, 0}},
        BalanceCase{"negative vapour pressure never gives negative water", 150, 100, -0.01, false,
                    {150, 999850, 0}},
        BalanceCase{"all gas A", 1000000, 0, 0.023, false, {1000000, 0, 0}}),
    [](const testing::TestParamInfo<BalanceCase>& info) { return "case" + std::to_string(info.index); });

// A request beyond the whole mixture gives water what gas A leaves; one
// within it balances as the fields do.
TEST(FractionBalanceRequest, WaterTakesWhatGasALeavesBeyondTheWholeMixture)
{
    EXPECT_EQ(BalanceRequest(600000, 500000, 0.023, true), (TFractions{600000, 0, 400000}));
    EXPECT_EQ(BalanceRequest(150, 30000, 0.023, false), BalanceFractions(150, 30000, 0.023, false));
}

}  // namespace
}  // namespace gasmixer
