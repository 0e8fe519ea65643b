#include "mixer/GasLists.h"

#include <algorithm>

namespace gasmixer {

const std::vector<std::string>& GasListA()
{
    static const std::vector<std::string> gases{"O2", "5%H2,95%Ar", "H2", "Air", "Air2", "Air3"};
    return gases;
}

const std::vector<std::string>& GasListB()
{
    static const std::vector<std::string> gases{"Ar", "N2", "H2", "H2O"};
    return gases;
}

std::optional<int> GasTableOf(const std::vector<std::string>& list, const std::string& gas)
{
    const auto found = std::find(list.begin(), list.end(), gas);
    if (found == list.end()) return std::nullopt;
    return static_cast<int>(found - list.begin()) + 2;
}

}  // namespace gasmixer
