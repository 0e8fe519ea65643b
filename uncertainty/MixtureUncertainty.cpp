#include "uncertainty/MixtureUncertainty.h"

#include "common/TextFormat.h"
#include "regulation/PulseRegulation.h"

#include <cmath>

namespace gasmixer {
namespace {

TMeteredGas Metered(double quantity, double runningFlow, bool pulsed, float pulseSetpoint,
                    const TFlowInfo& info, const TCompound& compound)
{
    TMeteredGas gas;
    gas.Quantity = quantity;
    gas.RunningFlow = pulsed ? pulseSetpoint : runningFlow;
    gas.FullScale = info.MaxOrig > 0 ? info.MaxOrig : info.Max;
    gas.MolarMass = compound.MolarMass;
    gas.Premixed = compound.Mixture;
    gas.Pulsed = pulsed;
    gas.PulseDoseGrams = PulseDoseGrams(pulseSetpoint);
    return gas;
}

// Digits into groups of three, as the memos write them.
std::string Grouped(const std::string& digits)
{
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += ' ';
        out += digits[i];
    }
    return out;
}

std::string FixedGrouped(double value, int decimals)
{
    const std::string text = FormatFixed(std::abs(value), decimals);
    const std::size_t point = decimals > 0 ? text.size() - decimals - 1 : text.size();
    return (value < 0 ? "-" : "") + Grouped(text.substr(0, point)) + text.substr(point);
}

}  // namespace

TRunningMixture RunningMixtureOf(const PlanInput& in, const PlanResult& plan)
{
    return {plan.Method, in.CompoundA, in.CompoundB, in.FlowInfoA, in.FlowInfoB, in.PH2O};
}

TMixtureUncertainty PlanUncertainty(const PlanInput& in, const PlanResult& plan, const TAccuracySettings& settings)
{
    if (!plan.Defined) return {};
    TMixturePoint point;
    point.A = Metered(plan.RequiredFlowA, plan.RequiredFlowA, IsPulseAMethod(plan.Method), PulseSetpointA,
                      in.FlowInfoA, in.CompoundA);
    point.B = Metered(plan.RequiredFlowB, plan.RequiredFlowB, IsPulseBMethod(plan.Method), PulseSetpointB,
                      in.FlowInfoB, in.CompoundB);
    point.PH2O = in.PH2O;
    point.WetShare = IsHumidifiedMethod(plan.Method) ? plan.WettingFraction : 0.0;
    point.Minutes = settings.PlanMinutes;
    TMixtureUncertainty u = EvaluateUncertainty(point, settings);
    u.Species[SpeciesA].Ppm = in.GasAPpm;
    u.Species[SpeciesB].Ppm = in.GasBPpm;
    u.Species[SpeciesH2O].Ppm = in.H2OPpm;
    return u;
}

TMixtureUncertainty ProducedUncertainty(const TRunningMixture& m, const TDelivered& delivered,
                                        const TAccuracySettings& settings)
{
    // A constant gas flowed all the time, at its mean flow.
    const double minutes = delivered.Minutes > 0 ? delivered.Minutes : 0.0;
    const auto meanFlow = [&](double grams) { return minutes > 0 ? grams / minutes : 0.0; };
    TMixturePoint point;
    point.A = Metered(delivered.GramsA, meanFlow(delivered.GramsA), IsPulseAMethod(m.Method), PulseSetpointA,
                      m.FlowInfoA, m.CompoundA);
    point.B = Metered(delivered.GramsB, meanFlow(delivered.GramsB), IsPulseBMethod(m.Method), PulseSetpointB,
                      m.FlowInfoB, m.CompoundB);
    point.PH2O = m.PH2O;
    point.Totalized = true;
    point.Minutes = minutes;
    point.Readings = delivered.Readings;
    // The records give gas B's moles that passed the bubbler pH2O moles of water each.
    const double waterMolarMass = FindCompound("H2O").MolarMass;
    const double molesB = delivered.GramsB / m.CompoundB.MolarMass;
    if (delivered.GramsWater > 0 && molesB > 0 && m.PH2O > 0)
        point.WetShare = delivered.GramsWater / waterMolarMass / (molesB * m.PH2O);
    return EvaluateUncertainty(point, settings);
}

std::string ValueWithUncertainty(double value, double expanded)
{
    if (!(expanded > 0) || !std::isfinite(expanded)) return FixedGrouped(value, 0) + " ± 0";
    // Two significant digits of the uncertainty decide the last digit shown.
    const int exponent = static_cast<int>(std::floor(std::log10(expanded))) - 1;
    const int decimals = std::max(0, -exponent);
    const double step = std::pow(10.0, exponent);
    const double roundedU = std::ceil(expanded / step - 1e-9) * step;
    const double roundedValue = std::round(value / step) * step;
    return FixedGrouped(roundedValue, decimals) + " ± " + FixedGrouped(roundedU, decimals);
}

std::string ExpectedLine(const TMixtureUncertainty& u)
{
    std::string parts;
    const auto add = [&](TSpecies s) {
        if (!parts.empty()) parts += ", ";
        parts += ValueWithUncertainty(u.Species[s].Ppm, u.Species[s].Expanded) + " ppm " + SpeciesNames[s];
    };
    if (u.Species[SpeciesA].Ppm > 0) add(SpeciesA);
    if (u.Species[SpeciesH2O].Ppm > 0) add(SpeciesH2O);
    if (parts.empty()) add(SpeciesB);
    return "Expected: " + parts + " (k = " + FormatFixed(CoverageFactor, 0) + ")";
}

}  // namespace gasmixer
