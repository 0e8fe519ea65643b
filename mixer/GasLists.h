#pragma once

#include <optional>
#include <string>
#include <vector>

namespace gasmixer {

// The gases offered for each controller, in the order of the controllers'
// gas tables: the entry at position i is table i + 2.
const std::vector<std::string>& GasListA();
const std::vector<std::string>& GasListB();

// The controller's gas table of a gas, or nothing when the list lacks it.
std::optional<int> GasTableOf(const std::vector<std::string>& list, const std::string& gas);

}  // namespace gasmixer
