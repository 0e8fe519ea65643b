#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The bubbler thermistor hangs in a divider with 10 kΩ on the relay board's
// 10-bit analog input: 1024 counts are 5 V. The window and the wetting worker
// turn a count into a temperature each in their own way.

namespace gasmixer {

// One reading as the window shows it: the trace lines for the debug memo and
// the temperature, 0 ºC when the count gives none.
struct TWaterReading {
    std::vector<std::string> Lines;
    double Temperature = 0.0;  // ºC
};

// "0-1024 DAC = " always; for a count above 0 also the voltage and, where the
// divider gives one, the resistance. The temperature comes from the fitted
// thermistor curve inside its resistance window only.
TWaterReading WaterReadingOfCount(std::uint32_t count);

// The wetting worker's conversion: no resistance window, 0 for a count of 0
// and wherever the formula has no finite value (count 1024 and above).
double WettingTemperatureOfCount(std::uint32_t count);

}  // namespace gasmixer
