#include "tools/UncertaintyJson.h"

namespace gasmixer {
namespace {

std::vector<double> PerSpecies(const TPpm& values) { return {values.begin(), values.end()}; }

JsonObjectWriter SpeciesJson(const TSpeciesUncertainty& s)
{
    JsonObjectWriter json;
    json.AddDouble("ppm", s.Ppm);
    json.AddDouble("standard", s.Standard);
    json.AddDouble("expanded", s.Expanded);
    return json;
}

}  // namespace

JsonObjectWriter UncertaintyJson(const TMixtureUncertainty& u, const TAccuracySettings& settings)
{
    JsonObjectWriter json;
    json.AddDouble("coverage_factor", CoverageFactor);
    json.AddDouble("plan_minutes", settings.PlanMinutes);
    json.AddObject("a_ppm", SpeciesJson(u.Species[SpeciesA]));
    json.AddObject("b_ppm", SpeciesJson(u.Species[SpeciesB]));
    json.AddObject("h2o_ppm", SpeciesJson(u.Species[SpeciesH2O]));
    std::vector<JsonObjectWriter> budget;
    for (const TBudgetLine& line : u.Budget) {
        JsonObjectWriter entry;
        entry.AddText("input", line.Input);
        entry.AddText("unit", line.Unit);
        entry.AddDouble("standard_uncertainty", line.StandardUncertainty);
        entry.AddDoubles("sensitivity", PerSpecies(line.Sensitivity));
        entry.AddDoubles("contribution", PerSpecies(line.Contribution));
        TPpm shares{};
        for (int s = 0; s < SpeciesCount; ++s) shares[s] = u.Share(line, static_cast<TSpecies>(s));
        entry.AddDoubles("share", PerSpecies(shares));
        budget.push_back(std::move(entry));
    }
    json.AddObjects("budget", budget);
    return json;
}

}  // namespace gasmixer
