#include "mixing/MixingMethods.h"

#include <algorithm>

namespace gasmixer {

std::string_view MixingMethodName(TMixingMethod method)
{
    return MixingMethodNames.at(static_cast<std::size_t>(MixingMethodIndex(method)));
}

std::optional<TMixingMethod> FindMixingMethod(std::string_view name)
{
    const auto it = std::find(MixingMethodNames.begin(), MixingMethodNames.end(), name);
    if (it == MixingMethodNames.end()) return std::nullopt;
    return static_cast<TMixingMethod>(it - MixingMethodNames.begin());
}

bool IsHumidifiedMethod(TMixingMethod method)
{
    switch (method) {
    case TMixingMethod::AConstantInBH2O:
    case TMixingMethod::AInBH2OLimited:
    case TMixingMethod::APulseInBH2O:
    case TMixingMethod::BH2OConstantInA:
    case TMixingMethod::BH2OInALimited:
    case TMixingMethod::BH2OPulseInA:
    case TMixingMethod::BH2O:
        return true;
    default:
        return false;
    }
}

bool IsPulseAMethod(TMixingMethod method)
{
    return method == TMixingMethod::APulseInB || method == TMixingMethod::APulseInBH2O;
}

bool IsPulseBMethod(TMixingMethod method)
{
    return method == TMixingMethod::BPulseInA || method == TMixingMethod::BH2OPulseInA;
}

}  // namespace gasmixer
