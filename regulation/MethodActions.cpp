#include "regulation/MethodActions.h"

#include "mixing/MixingMethods.h"

namespace gasmixer {

std::optional<TMethodActions> MethodActionsFor(std::string_view mixingMethod)
{
    const std::optional<TMixingMethod> method = FindMixingMethod(mixingMethod);
    if (!method) return std::nullopt;
    const auto regulation = [](bool pulsed) {
        return pulsed ? TFlowRegulation::Pulse : TFlowRegulation::Constant;
    };
    return TMethodActions{MixingMethodIndex(*method), IsHumidifiedMethod(*method),
                          regulation(IsPulseAMethod(*method)), regulation(IsPulseBMethod(*method))};
}

}  // namespace gasmixer
