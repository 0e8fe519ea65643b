#include "gasdata/MolarMasses.h"

#include <stdexcept>

namespace gasmixer {
namespace {

TCompound Pure(const char* name, const char* longName, float molarMass)
{
    TCompound c;
    c.Name = name;
    c.LongName = longName;
    c.MolarMass = molarMass;
    return c;
}

void CheckSlot(int i)
{
    if (i < 1 || i > 4) throw std::out_of_range("compound slot out of range");
}

}  // namespace

std::string& TCompound::SlotName(int i)
{
    CheckSlot(i);
    return i == 1 ? C1Name : i == 2 ? C2Name : i == 3 ? C3Name : C4Name;
}

const std::string& TCompound::SlotName(int i) const
{
    return const_cast<TCompound*>(this)->SlotName(i);
}

float& TCompound::SlotVFraction(int i)
{
    CheckSlot(i);
    return i == 1 ? C1VFraction : i == 2 ? C2VFraction : i == 3 ? C3VFraction : C4VFraction;
}

float TCompound::SlotVFraction(int i) const
{
    return const_cast<TCompound*>(this)->SlotVFraction(i);
}

float TCompound::SlotMFraction(int i) const
{
    CheckSlot(i);
    return i == 1 ? C1MFraction : i == 2 ? C2MFraction : i == 3 ? C3MFraction : C4MFraction;
}

const std::array<TCompound, CompoundCount> CompoundTable = [] {
    std::array<TCompound, CompoundCount> t;

    t[0] = Pure("5%H2,95%Ar", "5%H2,95%Ar", 38.0513f);
    t[0].Mixture = true;
    t[0].C1Name = "H2";
    t[0].C1VFraction = 0.05f;
    t[0].C2Name = "Ar";
    t[0].C2VFraction = 0.95f;

    t[1] = Pure("Air", "Air", 28.9495f);
    t[1].Mixture = true;
    t[1].C1Name = "N2";
    t[1].C1VFraction = 0.78084f;
    t[1].C2Name = "O2";
    t[1].C2VFraction = 0.20946f;
    t[1].C3Name = "Ar";
    t[1].C3VFraction = 0.00934f;

    t[2] = Pure("Air2", "AirBottle", 28.8462f);
    t[2].Mixture = true;
    t[2].C1Name = "N2";
    t[2].C1VFraction = 0.790985f;
    t[2].C2Name = "O2";
    t[2].C2VFraction = 0.209f;
    t[2].C3Name = "H2O";
    t[2].C3VFraction = 1.5e-05f;

    t[3] = Pure("Air3", "AirBottleDry", 28.846348f);
    t[3].Mixture = true;
    t[3].C1Name = "N2";
    t[3].C1VFraction = 0.791f;
    t[3].C1MFraction = 0.76815957f;
    t[3].C2Name = "O2";
    t[3].C2VFraction = 0.209f;
    t[3].C2MFraction = 0.2318404f;

    t[4] = Pure("Ar", "Argon", 39.948f);
    t[5] = Pure("CO", "Carbon monoxide", 28.0134f);
    t[6] = Pure("CO2", "Carbon dioxide", 44.0095f);
    t[7] = Pure("H2", "Hydrogen", 2.01588f);
    t[8] = Pure("H2O", "Water", 18.01528f);
    t[9] = Pure("He", "Helium", 4.002602f);
    t[10] = Pure("N2", "Nitrogen", 28.0134f);
    t[11] = Pure("O2", "Oxygen", 31.9988f);
    t[12] = Pure("C", "Carbon single", 12.0107f);
    t[13] = Pure("H", "Hydrogen single", 1.00794f);
    t[14] = Pure("N", "Nitrogen single", 14.0067f);
    t[15] = Pure("O", "Oxygen single", 15.9994f);
    // t[16] stays empty: the answer for the empty name of a free slot.
    return t;
}();

CompoundNotFound::CompoundNotFound(const std::string& name)
    : std::runtime_error("Molar mass could not be found for search item '" + name
                         + "' It is not recommended to continue the program before the problem is fixed")
{
}

TCompound FindCompound(const std::string& Name)
{
    for (const TCompound& row : CompoundTable)
        if (row.Name == Name) return row;
    throw CompoundNotFound(Name);
}

long double InverseMolarMass(const std::string& Name)
{
    return 1.0L / static_cast<long double>(FindCompound(Name).MolarMass);
}

namespace {
constexpr long double VapourPressureCoefficients[] = {0.00600131607517L, 0.000440243970154L, 1.41074334293e-5L,
                                                      2.63232511023e-7L, 2.74056279733e-9L,  2.71607801742e-11L};
}  // namespace

float WaterVapourPressure(float T)
{
    const auto& c = VapourPressureCoefficients;
    const long double t = T;
    long double p = 0.0L;
    for (int i = 5; i >= 0; --i) p = p * t + c[i];
    return static_cast<float>(p);
}

double WaterVapourPressureSlope(double T)
{
    const auto& c = VapourPressureCoefficients;
    const long double t = T;
    long double slope = 0.0L;
    for (int i = 5; i >= 1; --i) slope = slope * t + i * c[i];
    return static_cast<double>(slope);
}

double WaterTemperatureAt(double pH2O)
{
    double low = -50.0;
    double high = 150.0;
    for (int i = 0; i < 60; ++i) {
        const double mid = (low + high) / 2;
        if (WaterVapourPressure(static_cast<float>(mid)) < pH2O) low = mid;
        else high = mid;
    }
    return (low + high) / 2;
}

}  // namespace gasmixer
