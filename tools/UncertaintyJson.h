#pragma once

#include "tools/JsonWriter.h"
#include "uncertainty/UncertaintyBudget.h"

namespace gasmixer {

// The uncertainty of the three species, the coverage factor and the budget:
// each input's standard uncertainty, its sensitivity coefficients, its
// contributions and its shares of the combined variances.
JsonObjectWriter UncertaintyJson(const TMixtureUncertainty& u, const TAccuracySettings& settings);

}  // namespace gasmixer
