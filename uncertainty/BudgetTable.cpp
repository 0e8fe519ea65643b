#include "uncertainty/BudgetTable.h"

#include "common/TextFormat.h"

namespace gasmixer {
namespace {

std::string Figure(double x) { return FormatGeneral(x, 3, 0); }
std::string Percent(double share) { return FormatFixed(share * 100, 1) + " %"; }

}  // namespace

std::vector<std::vector<std::string>> BudgetTable(const TMixtureUncertainty& u)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> header{"Input", "u", "Unit"};
    for (const char* species : SpeciesNames) {
        header.push_back(std::string("ppm ") + species);
        header.push_back(std::string("Share ") + species);
    }
    rows.push_back(std::move(header));
    for (const TBudgetLine& line : u.Budget) {
        std::vector<std::string> row{line.Input, Figure(line.StandardUncertainty), line.Unit};
        for (int s = 0; s < SpeciesCount; ++s) {
            row.push_back(Figure(line.Contribution[s]));
            row.push_back(Percent(u.Share(line, static_cast<TSpecies>(s))));
        }
        rows.push_back(std::move(row));
    }
    const auto total = [&](const std::string& name, auto value) {
        std::vector<std::string> row{name, "", "ppm"};
        for (const TSpeciesUncertainty& s : u.Species) {
            row.push_back(Figure(value(s)));
            row.push_back("");
        }
        rows.push_back(std::move(row));
    };
    total("Combined standard uncertainty", [](const TSpeciesUncertainty& s) { return s.Standard; });
    total("Expanded uncertainty (k = " + FormatFixed(CoverageFactor, 0) + ")",
          [](const TSpeciesUncertainty& s) { return s.Expanded; });
    return rows;
}

}  // namespace gasmixer
