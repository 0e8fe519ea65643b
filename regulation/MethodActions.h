#pragma once

#include <optional>
#include <string_view>

namespace gasmixer {

// How the dilution step drives one gas's controller.
enum class TFlowRegulation {
    Constant,  // one setpoint per plan
    Pulse,     // a regulation step every tick
};

// What the dilution step does for the running mixing method.
struct TMethodActions {
    int MethodIndex = 0;      // 0..14, the method's position
    bool Humidified = false;  // start-up: the wetting worker; otherwise V4 and V5 open
    TFlowRegulation GasA = TFlowRegulation::Constant;
    TFlowRegulation GasB = TFlowRegulation::Constant;
};

// By exact, case-sensitive name; nothing for a text that names no method.
std::optional<TMethodActions> MethodActionsFor(std::string_view mixingMethod);

}  // namespace gasmixer
