#pragma once

#include <cstdint>

namespace gasmixer::sim {

// The relay board's 10-bit analog input, wired as a divider with a 10 kΩ
// resistor and the bubbler thermistor.

// Temperature the program derives from `count`; false where it finds none.
bool TemperatureOfCount(std::uint16_t count, double& celsius);

// The count whose derived temperature lies nearest `celsius`.
std::uint16_t CountForTemperature(double celsius);

}  // namespace gasmixer::sim
