#pragma once

#include "uncertainty/AccuracySettings.h"
#include "uncertainty/MixtureModel.h"

#include <string>
#include <vector>

// The law of propagation of uncertainty (GUM) over the mixture model: each
// input's standard uncertainty times its sensitivity coefficients, combined
// in quadrature. The inputs are independent, so their shares add up to the
// combined variance.

namespace gasmixer {

// One gas as its controller delivers it.
struct TMeteredGas {
    double Quantity = 0.0;     // g/min planned, or g from the totalizer
    double RunningFlow = 0.0;  // g/min while it flows: the setpoint, or the pulse setpoint
    double FullScale = 0.0;    // g/min
    double MolarMass = 0.0;    // g/mol, dry
    bool Premixed = false;     // a certified mixture rather than a pure gas
    bool Pulsed = false;
    double PulseDoseGrams = 0.0;
};

struct TMixturePoint {
    TMeteredGas A;
    TMeteredGas B;
    double WetShare = 0.0;  // of gas B's moles, through the bubbler
    double PH2O = 0.0;      // atm
    // Quantities are grams from the totalizers, delivered over Minutes; else
    // planned g/min, and a pulsed gas is judged over Minutes.
    bool Totalized = false;
    double Minutes = 0.0;
    int Readings = 1;  // totalizer readings behind each quantity: 2 for a difference
};

struct TBudgetLine {
    std::string Input;           // "MFC A accuracy, % of reading"
    std::string Unit;            // of the standard uncertainty
    double StandardUncertainty = 0.0;
    TPpm Sensitivity{};          // ppm per unit
    TPpm Contribution{};         // ppm, sensitivity x standard uncertainty

    double Variance(TSpecies s) const { return Contribution[s] * Contribution[s]; }
};

struct TSpeciesUncertainty {
    double Ppm = 0.0;
    double Standard = 0.0;
    double Expanded = 0.0;  // k = CoverageFactor
};

struct TMixtureUncertainty {
    std::array<TSpeciesUncertainty, SpeciesCount> Species{};
    std::vector<TBudgetLine> Budget;

    // The line's share of the species' combined variance, 0 to 1.
    double Share(const TBudgetLine& line, TSpecies s) const;
};

// The model's quantities at the point, all corrections at their estimates.
TModelQuantities QuantitiesAt(const TMixturePoint& point, const TAccuracySettings& settings);

TMixtureUncertainty EvaluateUncertainty(const TMixturePoint& point, const TAccuracySettings& settings);

inline constexpr std::array<const char*, SpeciesCount> SpeciesNames{"A", "B", "H2O"};

}  // namespace gasmixer
