#include "mixing/PlanReport.h"

#include "common/TextFormat.h"
#include "mixing/FractionBalance.h"
#include "mixing/MixtureSlots.h"

#include <cmath>

namespace gasmixer {
namespace {

std::string Int(long long x) { return std::to_string(x); }
std::string Rounded(long double x) { return Int(RoundHalfEven(static_cast<double>(x))); }
std::string Fmt(std::string_view pattern, long double x)
{
    return FormatFloat(pattern, static_cast<double>(x));
}

class ReportWriter {
public:
    ReportWriter(const PlanInput& in, const PlanResult& plan)
        : in_(in), plan_(plan), a_(in.GasAPpm), b_(in.GasBPpm), w_(in.H2OPpm),
          gasA_(in.CompoundA), gasB_(plan.CompoundB), flowInfoB_(in.FlowInfoB)
    {
        flowInfoB_.Max = plan.FlowInfoBMax;
    }

    std::vector<std::string> Lines()
    {
        Description();
        PartialPressures();
        if (a_ > 0 && a_ < WholeMixturePpm) LogPartialPressures();
        MassFractions();
        MassRelations();
        lines_.push_back("  ");
        Controller("Gas A", in_.FlowInfoA);
        lines_.push_back("    ");
        Controller("Gas B", flowInfoB_);
        FlowLimits();
        Conclusion();
        if (flowInfoB_.Max < flowInfoB_.MaxOrig) LimitWarning();
        return std::move(lines_);
    }

private:
    void Add(std::string line) { lines_.push_back(std::move(line)); }

    long double GasBSlotPpm(int i) const { return gasmixer::GasBSlotPpm(gasB_, i, b_, w_); }

    void Description()
    {
        Add("Description of desired mixture");
        Add("  " + Int(a_) + " ppm of " + gasA_.LongName + " in " + gasB_.LongName);
        Add("  ");
    }

    void PartialPressures()
    {
        Add("Components of mixture (as partial pressure)");
        if (gasA_.Mixture) {
            for (int i = 1; i <= PlannedSlotCount(gasA_); ++i)
                Add("  " + Rounded(static_cast<long double>(a_) * gasA_.SlotVFraction(i)) + " ppm of "
                    + gasA_.SlotName(i));
        } else {
            Add("  " + Int(a_) + " ppm of " + gasA_.Name);
        }
        if (gasB_.Mixture) {
            for (int i = 1; i <= PlannedSlotCount(gasB_); ++i)
                Add("  " + Rounded(GasBSlotPpm(i)) + " ppm of " + gasB_.SlotName(i));
        } else {
            Add("  " + Int(b_) + " ppm of " + gasB_.Name);
        }
        if (plan_.H > 0) Add("      " + Fmt("0.000", plan_.H * 100.0L) + " % H2O fraction of B");
    }

    static std::string LogLine(const std::string& name, long double ppm)
    {
        return "  log10(p" + name + ")=" + Fmt("0.0", std::log10(ppm / WholeMixturePpm));
    }

    void LogPartialPressures()
    {
        Add("  ");
        if (gasA_.Mixture) {
            for (int i = 1; i <= PlannedSlotCount(gasA_); ++i)
                Add(LogLine(gasA_.SlotName(i), static_cast<long double>(a_) * gasA_.SlotVFraction(i)));
        } else {
            Add(LogLine(gasA_.Name, a_));
        }
        if (gasB_.Mixture) {
            for (int i = 1; i <= PlannedSlotCount(gasB_); ++i) Add(LogLine(gasB_.SlotName(i), GasBSlotPpm(i)));
        } else if (b_ > 0) {
            Add(LogLine(gasB_.Name, b_));
        }
    }

    long double MassPpm(long double molePpm, const std::string& name) const
    {
        return molePpm * MolarMassOf(name) / plan_.MeanMolarMass;
    }

    void MassFractions()
    {
        Add("  ");
        Add("Components of mixture (as mass fraction)");
        if (gasA_.Mixture) {
            Add("  " + Fmt("0.0", plan_.MassPpmA) + " ppm total gas A");
            for (int i = 1; i <= PlannedSlotCount(gasA_); ++i)
                Add("      "
                    + Fmt("0.0", MassPpm(static_cast<long double>(a_) * gasA_.SlotVFraction(i), gasA_.SlotName(i)))
                    + " ppm of " + gasA_.SlotName(i));
        } else {
            Add("  " + Fmt("0.0", plan_.MassPpmA) + " ppm of " + gasA_.Name);
        }
        if (gasB_.Mixture) {
            Add("  " + Fmt("0.0", plan_.MassPpmB) + " ppm total gas B");
            for (int i = 1; i <= PlannedSlotCount(gasB_); ++i)
                Add("      "
                    + Fmt("0.0", MassPpm(static_cast<long double>(b_ + w_) * gasB_.SlotVFraction(i),
                                         gasB_.SlotName(i)))
                    + " ppm of " + gasB_.SlotName(i));
        } else {
            Add("  " + Fmt("0.0", static_cast<long double>(b_) * gasB_.MolarMass / plan_.MeanMolarMass)
                + " ppm of " + gasB_.Name);
        }
    }

    void MassRelations()
    {
        Add("    ");
        Add("Mass relations of input gases");
        Add("  " + Fmt("0.000 000 000", plan_.RelA) + " of " + gasA_.LongName);
        Add("  " + Fmt("0.000 000 000", plan_.RelB) + " of " + gasB_.LongName);
    }

    void Controller(const std::string& gas, const TFlowInfo& info)
    {
        Add("Controller details for " + gas);
        Add("  Fluid name     : " + info.Name);
        Add("  Long name      : " + info.LongName);
        Add("  Flow unit      : " + info.FlowUnit);
        Add("  Max flow       : " + Fmt("0.000 000", info.Max));
        Add("  Min flow       : " + Fmt("0.000 000", info.Min));
        Add("  Turndown ratio : " + Int(info.Dyn));
    }

    static std::string FlowLine(const std::string& label, long double flow, const std::string& unit)
    {
        return label + Fmt("0.000 000 000", flow) + " " + unit;
    }

    void FlowLimits()
    {
        const TFlowInfo& infoA = in_.FlowInfoA;
        Add("    ");
        Add("Flow limits");
        Add(FlowLine("  Min flow of gas A : ", infoA.Min, infoA.FlowUnit));
        Add(FlowLine("  Max flow of gas A : ", infoA.Max, infoA.FlowUnit));
        Add(FlowLine("  Min flow of gas B : ", flowInfoB_.Min, flowInfoB_.FlowUnit));
        Add(FlowLine("  Max flow of gas B : ", flowInfoB_.Max, flowInfoB_.FlowUnit));
    }

    void Conclusion()
    {
        Add("    ");
        Add("Conclusion");
        Add("  Mixing method     : " + plan_.MixingMethod());
        Add(FlowLine("  Required flow A   : ", plan_.RequiredFlowA, in_.FlowInfoA.FlowUnit));
        Add(FlowLine("  Required flow B   : ", plan_.FlowB, flowInfoB_.FlowUnit));
        if (plan_.WettingFraction > 0)
            Add("  Wetting time for B: " + Fmt("0.000", plan_.WettingFraction * 100.0L) + "%");
        const bool pulsed = IsPulseAMethod(plan_.Method) || IsPulseBMethod(plan_.Method);
        if (pulsed && plan_.TimescaleA > 0 && plan_.TimescaleB > 0) Timescales();
        const long double volumeFlow = static_cast<long double>(plan_.QA) + plan_.QB;
        Add("  Resulting flow    : " + Fmt("0.0", volumeFlow) + " ml/min  (25ºC)");
        Add("  Resulting flow    : " + Fmt("0.0", volumeFlow / 24 * 22.4L) + " mln/min (0ºC)");
    }

    void Timescales()
    {
        const long double ta = plan_.TimescaleA;
        const long double tb = plan_.TimescaleB;
        Add("  Timescale A       : " + Fmt("0.000 000", ta));
        Add("  Timescale B       : " + Fmt("0.000 000", tb));
        Add("  1/Timescale A     : " + Fmt("0.000 000", 1 / ta));
        Add("  1/Timescale B     : " + Fmt("0.000 000", 1 / tb));
        Add("  Timescale A * 60  : " + Fmt("0.000", ta * 60));
        Add("  Timescale B * 60  : " + Fmt("0.000", tb * 60));
        Add("  Massflow A (1 min): " + Fmt("0.000 000 000", ta * plan_.RequiredFlowA) + " g");
        Add("  Massflow B (1 min): " + Fmt("0.000 000 000", tb * plan_.FlowB) + " g");
    }

    void LimitWarning()
    {
        Add("");
        Add("Limiting flow for gas B leads to increased");
        Add("delay for settling to new setpoint. Additionally, ");
        Add("mixture may be less accurate and less stable.");
    }

    const PlanInput& in_;
    const PlanResult& plan_;
    const int a_;
    const int b_;
    const int w_;
    const TCompound& gasA_;
    const TCompound& gasB_;
    TFlowInfo flowInfoB_;
    std::vector<std::string> lines_;
};

}  // namespace

std::vector<std::string> PlanReportLines(const PlanInput& input, const PlanResult& plan)
{
    return ReportWriter(input, plan).Lines();
}

}  // namespace gasmixer
