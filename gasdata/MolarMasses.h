#pragma once

#include <array>
#include <stdexcept>
#include <string>

namespace gasmixer {

// One gas or gas mixture. Fractions are of the four component slots; a free
// slot has an empty name and zero fractions. Pure gases have no components.
struct TCompound {
    bool Mixture = false;
    std::string Name;
    std::string LongName;
    float MolarMass = 0.0f;  // g/mol
    std::string C1Name;
    float C1VFraction = 0.0f;
    float C1MFraction = 0.0f;
    std::string C2Name;
    float C2VFraction = 0.0f;
    float C2MFraction = 0.0f;
    std::string C3Name;
    float C3VFraction = 0.0f;
    float C3MFraction = 0.0f;
    std::string C4Name;
    float C4VFraction = 0.0f;
    float C4MFraction = 0.0f;

    // Slot i (1..4) by number, for code that walks the components.
    std::string& SlotName(int i);
    const std::string& SlotName(int i) const;
    float& SlotVFraction(int i);
    float SlotVFraction(int i) const;
    float SlotMFraction(int i) const;

    friend bool operator==(const TCompound&, const TCompound&) = default;
};

inline constexpr std::size_t CompoundCount = 17;
extern const std::array<TCompound, CompoundCount> CompoundTable;

// Raised by a lookup of a name that is not in the table.
class CompoundNotFound : public std::runtime_error {
public:
    explicit CompoundNotFound(const std::string& name);
};

// Exact, case-sensitive lookup; the empty name yields the empty last row.
TCompound FindCompound(const std::string& Name);

// 1 / molar mass in mol/g, in extended precision.
long double InverseMolarMass(const std::string& Name);

// Saturation vapour pressure of water in atm at T in ºC.
float WaterVapourPressure(float T);
// Its slope dp/dT in atm/ºC, for the propagation of a temperature's uncertainty.
double WaterVapourPressureSlope(double T);
// The temperature in ºC whose vapour pressure is pH2O atm (-50 to 150 ºC).
double WaterTemperatureAt(double pH2O);

}  // namespace gasmixer
