#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gasmixer::sim {

// One gas table of a controller, selected by its number.
struct GasTable {
    std::uint16_t number = 0;
    std::string shortName;  // at most 8 characters
    std::string longName;   // at most 50 characters
    std::string unit;
    float fullScale = 0.0f;  // in `unit`
    std::uint16_t turnDown = 0;
};

struct ControllerModel {
    std::string deviceType;  // at most 8 characters
    std::vector<GasTable> tables;
};

// The controllers at bus addresses 1 (gas A) and 2 (gas B). Their tables are
// numbered from 2 in the order the operator's gas lists show them.
ControllerModel GasAController();
ControllerModel GasBController();

}  // namespace gasmixer::sim
