#include "sim/ThermistorInput.h"

#include "gasdata/Thermistor.h"

#include <cmath>
#include <limits>

namespace gasmixer::sim {

bool TemperatureOfCount(std::uint16_t count, double& celsius)
{
    if (count == 0 || count >= 1024) return false;
    const double ratio = count * (5.0 / 1024.0) / 5.0;  // V / 5 V
    return ThermistorTemperature(10000.0 * ratio / (1.0 - ratio), celsius);
}

std::uint16_t CountForTemperature(double celsius)
{
    std::uint16_t best = 0;
    double bestError = std::numeric_limits<double>::infinity();
    for (std::uint16_t count = 1; count < 1024; ++count) {
        double t = 0.0;
        if (TemperatureOfCount(count, t) && std::abs(t - celsius) < bestError) {
            bestError = std::abs(t - celsius);
            best = count;
        }
    }
    return best;
}

}  // namespace gasmixer::sim
