#include "tools/PlanJson.h"

#include "tools/JsonWriter.h"
#include "tools/UncertaintyJson.h"
#include "uncertainty/MixtureUncertainty.h"

namespace gasmixer {

std::string PlanJson(const PlanInput& in, const PlanResult& plan, const TAccuracySettings& accuracy)
{
    JsonObjectWriter json;
    if (plan.Defined) json.AddText("method", plan.MixingMethod());
    else json.AddNull("method");
    json.AddBool("defined", plan.Defined);
    json.AddInteger("a_ppm", in.GasAPpm);
    json.AddInteger("b_ppm", in.GasBPpm);
    json.AddInteger("h2o_ppm", in.H2OPpm);
    const auto addDouble = [&](const char* key, double value) {
        if (plan.Defined) json.AddDouble(key, value);
        else json.AddNull(key);
    };
    const auto addFloat = [&](const char* key, float value) {
        if (plan.Defined) json.AddFloat(key, value);
        else json.AddNull(key);
    };
    addDouble("h", plan.H);
    addDouble("mean_molar_mass", plan.MeanMolarMass);
    addFloat("rel_a", plan.RelA);
    addDouble("rel_b", static_cast<double>(plan.RelB));
    if (plan.Defined) json.AddInteger("max_mass_ppm", plan.MaxMassPpm);
    else json.AddNull("max_mass_ppm");
    addDouble("flow_a", plan.RequiredFlowA);
    addFloat("flow_b", plan.FlowB);
    addDouble("required_flow_b", plan.RequiredFlowB);
    addFloat("timescale_a", plan.TimescaleA);
    addFloat("timescale_b", plan.TimescaleB);
    addDouble("wetting_fraction", plan.WettingFraction);
    addFloat("q_a", plan.QA);
    addFloat("q_b", plan.QB);
    json.AddTexts("report", plan.Report);
    if (plan.Defined) json.AddObject("uncertainty", UncertaintyJson(PlanUncertainty(in, plan, accuracy), accuracy));
    else json.AddNull("uncertainty");
    return json.Text();
}

}  // namespace gasmixer
