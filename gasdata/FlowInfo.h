#pragma once

#include <cstdint>
#include <string>

namespace gasmixer {

// One flow controller with its selected gas table.
struct TFlowInfo {
    std::string Name;      // short gas name as the controller holds it
    std::string LongName;  // long gas name, not trimmed
    std::string FlowUnit;  // e.g. "g/min"
    float Max = 0.0f;      // upper flow limit; for MFC 2 the gas B limit
    float MaxOrig = 0.0f;  // full scale as read
    std::uint32_t Dyn = 0; // turn-down ratio
    float Min = 0.0f;      // full scale / Dyn

    friend bool operator==(const TFlowInfo&, const TFlowInfo&) = default;
};

// Identities used with the fake port, where no controller answers.
TFlowInfo FakeFlowInfoA();
TFlowInfo FakeFlowInfoB();

}  // namespace gasmixer
