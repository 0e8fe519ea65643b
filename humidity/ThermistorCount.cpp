#include "humidity/ThermistorCount.h"

#include "common/TextFormat.h"
#include "gasdata/Thermistor.h"

#include <cmath>
#include <optional>

namespace gasmixer {
namespace {

constexpr double VoltsPerCount = 0.0048828125;  // 5 V / 1024
constexpr double FullScaleVolts = 5.0;
constexpr double DividerOhms = 10000.0;

double VoltageOfCount(std::uint32_t count) { return count * VoltsPerCount; }

// None at full scale, where the thermistor would be an open circuit.
std::optional<double> ResistanceOfVoltage(double V)
{
    const double share = V / FullScaleVolts;
    if (share == 1.0) return std::nullopt;
    return DividerOhms * share / (1.0 - share);
}

}  // namespace

TWaterReading WaterReadingOfCount(std::uint32_t count)
{
    TWaterReading reading;
    reading.Lines.push_back("0-1024 DAC = " + std::to_string(count));
    if (count == 0) return reading;
    const double V = VoltageOfCount(count);
    reading.Lines.push_back("Voltage    = " + FormatGeneral(V));
    const std::optional<double> R = ResistanceOfVoltage(V);
    if (!R) return reading;
    reading.Lines.push_back("Ohm        = " + FormatGeneral(*R));
    double T = 0.0;
    if (ThermistorTemperature(*R, T) && std::isfinite(T)) reading.Temperature = T;
    return reading;
}

double WettingTemperatureOfCount(std::uint32_t count)
{
    if (count == 0) return 0.0;
    const std::optional<double> R = ResistanceOfVoltage(VoltageOfCount(count));
    if (!R) return 0.0;
    const double P = std::pow(*R, 0.459764902059);
    const double T = (6283.089940802909 - 54.859166561 * P) / (P + 33.2268710113);
    return std::isfinite(T) ? T : 0.0;
}

}  // namespace gasmixer
