#pragma once

#include "uncertainty/UncertaintyBudget.h"

#include <string>
#include <vector>

namespace gasmixer {

// The budget as a table of texts, for the window and the run report: a
// header, one row per input (its standard uncertainty, then for each species
// its contribution in ppm and its share of the variance), then the combined
// standard and the expanded uncertainty.
std::vector<std::vector<std::string>> BudgetTable(const TMixtureUncertainty& u);

}  // namespace gasmixer
