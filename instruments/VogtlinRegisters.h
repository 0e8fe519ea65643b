#pragma once

#include <cstdint>

namespace gasmixer {

// Holding registers of the mass flow controllers that the program uses.
enum class TVogtlinRegister : std::uint16_t {
    Totalizer = 4,                 // F32, read: delivered amount, 1000 x value = grams
    Setpoint = 6,                  // F32, write: flow in the controller's flow unit
    DeviceType = 35,               // S8, read: "GSC..." marks an accepted controller
    GasTableInUse = 16697,         // U8, read and write: the gas table in use
    GasTableSelector = 24575,      // U8, write: which table the registers below present
    FullScale = 24608,             // F32, read: full-scale flow of the selected table
    GasLongName = 24610,           // S50, read
    GasShortName = 24642,          // S8, read
    FlowUnit = 24646,              // S8, read: such as "g/min"
    TurnDown = 24866,              // U16, read: lowest flow = full scale / this
    TotalizerReset = 25472,        // F32, write 0.0 to reset the totalizer
};

constexpr std::uint32_t RegisterNumber(TVogtlinRegister r) { return static_cast<std::uint32_t>(r); }

}  // namespace gasmixer
