#include "tools/PlanRequest.h"

#include "mixing/FractionBalance.h"

namespace gasmixer {
namespace {

// The empty row of the table only fills free component slots; it is no gas.
TCompound LookUpGas(const std::string& name)
{
    if (name.empty()) throw CompoundNotFound(name);
    return FindCompound(name);
}

}  // namespace

PlanInput MakePlanInput(const PlanOptions& options)
{
    PlanInput in;
    in.CompoundA = LookUpGas(options.GasA);
    in.CompoundB = LookUpGas(options.GasB);
    const TFractions f = BalanceFractions(options.GasAPpm, options.H2OPpm, options.PH2O, options.Fake);
    if (f.GasBPpm < 0)
        throw UsageError("--a-ppm " + std::to_string(f.GasAPpm) + " and --h2o-ppm " + std::to_string(f.H2OPpm)
                         + " leave " + std::to_string(f.GasBPpm) + " ppm for gas B");
    in.GasAPpm = f.GasAPpm;
    in.GasBPpm = f.GasBPpm;
    in.H2OPpm = f.H2OPpm;
    in.PH2O = options.PH2O;
    in.GasBLimit = options.GasBLimit;
    in.FlowInfoA = options.FlowInfoA;
    in.FlowInfoB = options.FlowInfoB;
    return in;
}

}  // namespace gasmixer
