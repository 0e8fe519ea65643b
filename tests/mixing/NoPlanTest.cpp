#include "mixing/MixturePlanner.h"

#include "PlanRequest.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace gasmixer {
namespace {

using test::Request;

struct NoPlanCase {
    const char* what;
    std::function<void(PlanInput&)> change;
    const char* reason;
};

class NoPlan : public testing::TestWithParam<NoPlanCase> {};

// Requests the arithmetic cannot serve end without a plan: the caller keeps
// its published values, and nothing undefined reaches them.
TEST_P(NoPlan, SaysWhyAndKeepsThePublishedValues)
{
    const NoPlanCase& c = GetParam();
    SCOPED_TRACE(c.what);
    PlanInput in = Request("O2", "Ar", 150, 0);
    in.PreviousWettingFraction = 0.4;
    c.change(in);
    const PlanResult r = PlanMixture(in);
    EXPECT_FALSE(r.Defined);
    EXPECT_EQ(r.Report, std::vector<std::string>{c.reason});
    EXPECT_DOUBLE_EQ(r.WettingFraction, 0.4);
    EXPECT_EQ(r.FlowInfoBMax, static_cast<float>(in.GasBLimit));
}

const float NaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Cases, NoPlan,
    testing::Values(
        NoPlanCase{"water only",
                   [](PlanInput& in) {
                       in.GasAPpm = 0;
                       in.GasBPpm = 0;
                       in.H2OPpm = 1'000'000;
                   },
                   "No mixing plan exists for a mixture without gas A and gas B"},
        NoPlanCase{"water only, mixture gas B",
                   [](PlanInput& in) {
                       in.CompoundB = FindCompound("Air");
                       in.GasAPpm = 0;
                       in.GasBPpm = 0;
                       in.H2OPpm = 1'000'000;
                   },
                   "No mixing plan exists for a mixture without gas A and gas B"},
        NoPlanCase{"no controller for gas A", [](PlanInput& in) { in.FlowInfoA = TFlowInfo{}; },
                   "No mixing plan exists without a flow range of the controller for gas A"},
        NoPlanCase{"unreadable full scale of gas A", [](PlanInput& in) { in.FlowInfoA.Max = NaN; },
                   "No mixing plan exists without a flow range of the controller for gas A"},
        NoPlanCase{"unreadable turn-down of gas A",
                   [](PlanInput& in) { in.FlowInfoA.Min = std::numeric_limits<float>::infinity(); },
                   "No mixing plan exists without a flow range of the controller for gas A"},
        NoPlanCase{"zero gas B limit", [](PlanInput& in) { in.GasBLimit = 0.0; },
                   "No mixing plan exists without a flow range of the controller for gas B"},
        NoPlanCase{"unreadable minimum of gas B", [](PlanInput& in) { in.FlowInfoB.Min = NaN; },
                   "No mixing plan exists without a flow range of the controller for gas B"},
        NoPlanCase{"gas without molar mass", [](PlanInput& in) { in.CompoundA = FindCompound(""); },
                   "No mixing plan exists for a gas without molar mass"},
        NoPlanCase{"negative gas B",
                   [](PlanInput& in) {
                       in.GasAPpm = 600000;
                       in.H2OPpm = 500000;
                       in.GasBPpm = -100000;
                   },
                   "No mixing plan exists for a fraction outside 0 to 1 000 000 ppm"},
        NoPlanCase{"vapour pressure near zero",
                   [](PlanInput& in) {
                       in.GasBPpm -= 10000;
                       in.H2OPpm = 10000;
                       in.PH2O = 1e-320;
                   },
                   "No mixing plan exists: the request gives no finite flows or wetting time"},
        NoPlanCase{"fractions not balanced", [](PlanInput& in) { in.GasBPpm = 1'000'000; },
                   "No mixing plan exists for fractions that do not add up to 1 000 000 ppm"}),
    [](const testing::TestParamInfo<NoPlanCase>& info) { return "case" + std::to_string(info.index); });

}  // namespace
}  // namespace gasmixer
