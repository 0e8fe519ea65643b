#include "mixing/MixturePlanner.h"

#include "common/TextFormat.h"
#include "mixing/FractionBalance.h"
#include "mixing/MixtureSlots.h"
#include "mixing/PlanReport.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace gasmixer {
namespace {

constexpr const char* NoGasMessage = "No mixing plan exists for a mixture without gas A and gas B";
constexpr const char* NoMolarMassMessage = "No mixing plan exists for a gas without molar mass";

bool PositiveFinite(double x) { return std::isfinite(x) && x > 0; }

// A controller without a positive upper limit (no gas chosen yet, or a range
// that could not be read) would divide by zero when the flows are scaled.
bool UsableRange(const TFlowInfo& info)
{
    return PositiveFinite(info.Max) && std::isfinite(info.Min) && info.Min >= 0;
}

bool ValidFraction(int ppm) { return ppm >= 0 && ppm <= WholeMixturePpm; }

std::optional<std::string> WhyNoPlan(const PlanInput& in, const TFlowInfo& flowInfoB)
{
    if (!ValidFraction(in.GasAPpm) || !ValidFraction(in.GasBPpm) || !ValidFraction(in.H2OPpm))
        return "No mixing plan exists for a fraction outside 0 to 1 000 000 ppm";
    if (in.GasAPpm + in.GasBPpm + in.H2OPpm != WholeMixturePpm)
        return "No mixing plan exists for fractions that do not add up to 1 000 000 ppm";
    if (!PositiveFinite(in.CompoundA.MolarMass) || !PositiveFinite(in.CompoundB.MolarMass))
        return NoMolarMassMessage;
    if (!UsableRange(in.FlowInfoA))
        return "No mixing plan exists without a flow range of the controller for gas A";
    if (!UsableRange(flowInfoB))
        return "No mixing plan exists without a flow range of the controller for gas B";
    return std::nullopt;
}

// Gas B saturated with water to the mole fraction h. A pure gas gets 1 - h,
// while the slots of a mixture are scaled by 1 / (1 + h).
TCompound Humidified(TCompound gasB, double h)
{
    gasB.Mixture = true;
    for (int i = 1; i <= 3; ++i)
        gasB.SlotVFraction(i) = static_cast<float>(gasB.SlotVFraction(i) / (1.0L + h));
    if (gasB.C1Name.empty()) {
        gasB.C1Name = gasB.Name;
        gasB.C1VFraction = static_cast<float>(1.0L - h);
        gasB.C2Name = "H2O";
        gasB.C2VFraction = static_cast<float>(h);
    } else if (gasB.C3Name.empty()) {
        gasB.C3Name = "H2O";
        gasB.C3VFraction = static_cast<float>(h);
    } else if (gasB.C4Name.empty()) {
        gasB.C4Name = "H2O";
        gasB.C4VFraction = static_cast<float>(h);
    }
    float molarMass = 0.0f;
    for (int i = 1; i <= 4; ++i) molarMass += MolarMassOf(gasB.SlotName(i)) * gasB.SlotVFraction(i);
    gasB.MolarMass = molarMass;
    gasB.LongName += " with H2O";
    return gasB;
}

double MeanMolarMassOf(const PlanInput& in, const TCompound& gasB)
{
    const TCompound& gasA = in.CompoundA;
    double sum = 0.0;
    if (gasA.Mixture) {
        for (int i = 1; i <= PlannedSlotCount(gasA); ++i)
            sum = static_cast<double>(sum + static_cast<long double>(in.GasAPpm) * gasA.SlotVFraction(i)
                                                * MolarMassOf(gasA.SlotName(i)));
    } else {
        sum = static_cast<double>(sum + static_cast<long double>(in.GasAPpm) * gasA.MolarMass);
    }
    if (gasB.Mixture) {
        for (int i = 1; i <= PlannedSlotCount(gasB); ++i)
            sum = static_cast<double>(sum + static_cast<long double>(GasBSlotPpm(gasB, i, in.GasBPpm, in.H2OPpm))
                                                * MolarMassOf(gasB.SlotName(i)));
    } else {
        sum = static_cast<double>(sum + static_cast<long double>(in.GasBPpm) * gasB.MolarMass);
    }
    return sum / WholeMixturePpm;
}

long long RoundExtended(long double x) { return RoundHalfEven(static_cast<double>(x)); }

// Gas B carries gas A at the gas B limit, throttled when gas A would exceed
// its controller, and pulsed when gas A falls below its controller's minimum.
void PlanAInB(const PlanInput& in, const TFlowInfo& flowInfoB, bool water, PlanResult& r)
{
    r.Method = water ? TMixingMethod::AConstantInBH2O : TMixingMethod::AConstantInB;
    r.FlowB = flowInfoB.Max;
    r.RequiredFlowA = static_cast<double>(static_cast<long double>(flowInfoB.Max) * r.RelA);
    if (r.RequiredFlowA > in.FlowInfoA.Max) {
        r.Method = water ? TMixingMethod::AInBH2OLimited : TMixingMethod::AInBLimited;
        const float k = static_cast<float>(r.RequiredFlowA / in.FlowInfoA.Max);
        r.RequiredFlowA = static_cast<double>(r.RequiredFlowA / static_cast<long double>(k));
        r.FlowB = static_cast<float>(r.FlowB / static_cast<long double>(k));
    }
    if (r.RequiredFlowA < in.FlowInfoA.Min) {
        r.Method = water ? TMixingMethod::APulseInBH2O : TMixingMethod::APulseInB;
        r.TimescaleA = static_cast<float>(r.RequiredFlowA / in.FlowInfoA.Min);
    }
    if (in.GasAPpm == 0 && in.H2OPpm > 0) r.Method = TMixingMethod::BH2O;
}

// Gas A carries gas B at gas A's full scale, with the same throttle and pulse
// rules applied to gas B.
void PlanBInA(const PlanInput& in, const TFlowInfo& flowInfoB, long double rho, bool water,
              PlanResult& r)
{
    r.Method = water ? TMixingMethod::BH2OConstantInA : TMixingMethod::BConstantInA;
    r.RequiredFlowA = in.FlowInfoA.Max;
    r.FlowB = static_cast<float>(static_cast<long double>(in.FlowInfoA.Max) * rho);
    if (r.FlowB > flowInfoB.Max) {
        r.Method = water ? TMixingMethod::BH2OInALimited : TMixingMethod::BInALimited;
        const float k = static_cast<float>(static_cast<long double>(r.FlowB) / flowInfoB.Max);
        r.RequiredFlowA = static_cast<double>(r.RequiredFlowA / static_cast<long double>(k));
        r.FlowB = static_cast<float>(r.FlowB / static_cast<long double>(k));
    }
    if (r.FlowB < flowInfoB.Min) {
        r.Method = water ? TMixingMethod::BH2OPulseInA : TMixingMethod::BPulseInA;
        r.TimescaleB = static_cast<float>(static_cast<long double>(r.FlowB) / flowInfoB.Min);
    }
}

// Last guard before publishing: a vapour pressure near zero, for one, makes
// the wetting time overflow.
bool AllFinite(const PlanResult& r)
{
    for (const double x : {r.RequiredFlowA, r.RequiredFlowB, r.WettingFraction, double{r.FlowB},
                           double{r.TimescaleA}, double{r.TimescaleB}, double{r.QA}, double{r.QB}})
        if (!std::isfinite(x)) return false;
    return true;
}

PlanResult NoPlan(PlanResult r, const PlanInput& in, std::string reason)
{
    r.Defined = false;
    r.WettingFraction = in.PreviousWettingFraction;
    r.Report = {std::move(reason)};
    return r;
}

}  // namespace

PlanResult PlanMixture(const PlanInput& in)
{
    PlanResult r;
    r.FlowInfoBMax = static_cast<float>(in.GasBLimit);
    TFlowInfo flowInfoB = in.FlowInfoB;
    flowInfoB.Max = r.FlowInfoBMax;
    r.CompoundB = in.CompoundB;
    if (auto reason = WhyNoPlan(in, flowInfoB)) return NoPlan(std::move(r), in, std::move(*reason));

    const int a = in.GasAPpm;
    const int b = in.GasBPpm;
    const int w = in.H2OPpm;
    if (w > 0 && b > 0) {
        r.H = static_cast<double>(static_cast<long double>(w) / (WholeMixturePpm - a));
        r.CompoundB = Humidified(in.CompoundB, r.H);
    }
    // Volume flows divide by it.
    if (!PositiveFinite(r.CompoundB.MolarMass)) return NoPlan(std::move(r), in, NoMolarMassMessage);
    r.MeanMolarMass = MeanMolarMassOf(in, r.CompoundB);
    // Without gas A and gas B there is no mass to relate the flows to.
    if (!(r.MeanMolarMass > 0)) return NoPlan(std::move(r), in, NoGasMessage);

    r.MassPpmA = static_cast<long double>(a) * in.CompoundA.MolarMass / r.MeanMolarMass;
    r.MassPpmB = static_cast<long double>(b + w) * r.CompoundB.MolarMass / r.MeanMolarMass;
    r.MaxMassPpm = std::max(0LL, RoundExtended(r.MassPpmA));
    // The test takes dry gas B, the value taken includes its water.
    if (RoundExtended(static_cast<long double>(b) * r.CompoundB.MolarMass / r.MeanMolarMass) > r.MaxMassPpm)
        r.MaxMassPpm = RoundExtended(r.MassPpmB);
    if (r.MaxMassPpm <= 0) return NoPlan(std::move(r), in, NoGasMessage);
    r.RelA = static_cast<float>(r.MassPpmA / r.MaxMassPpm);
    r.RelB = r.MassPpmB / r.MaxMassPpm;

    // The dry molar mass of gas B decides the carrier, not the humidified one.
    const long double rho =
        static_cast<long double>(b) * in.CompoundB.MolarMass / r.MeanMolarMass / r.MaxMassPpm;
    const bool water = w != 0;
    if (rho >= r.RelA) PlanAInB(in, flowInfoB, water, r);
    else PlanBInA(in, flowInfoB, rho, water, r);

    r.WettingFraction = in.PH2O > 0 ? r.H / in.PH2O : in.PreviousWettingFraction;
    if (a == WholeMixturePpm) r.Method = TMixingMethod::APure;
    if (b == WholeMixturePpm) r.Method = TMixingMethod::BPure;

    // The published flows are the mixture's own: a pulsed gas is dosed towards
    // elapsed time x its flow, so no timescale enters them. The timescales
    // only describe the pulsing, in the report.
    r.RequiredFlowB = r.FlowB;
    r.QA = static_cast<float>(r.TimescaleA * static_cast<long double>(r.RequiredFlowA)
                              / in.CompoundA.MolarMass * 24 * 1000);
    r.QB = static_cast<float>(static_cast<long double>(r.TimescaleB) * r.FlowB
                              / r.CompoundB.MolarMass * 24 * 1000);
    if (!AllFinite(r))
        return NoPlan(std::move(r), in,
                      "No mixing plan exists: the request gives no finite flows or wetting time");
    r.Defined = true;
    r.Report = PlanReportLines(in, r);
    return r;
}

}  // namespace gasmixer
