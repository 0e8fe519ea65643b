#pragma once

#include <array>

// The measurement model of the mixture: the ppm of gas A, gas B and water
// from what passes the two controllers, the law the records use. Gas B's
// moles through the bubbler carry pH2O x efficiency moles of water each.

namespace gasmixer {

enum TSpecies : int { SpeciesA, SpeciesB, SpeciesH2O, SpeciesCount };
using TPpm = std::array<double, SpeciesCount>;

struct TModelQuantities {
    double QA = 0.0;          // g or g/min through controller A
    double QB = 0.0;          // the same, controller B
    double MolarMassA = 0.0;  // g/mol
    double MolarMassB = 0.0;  // g/mol, dry
    double WetShare = 0.0;    // share of gas B that passes the bubbler
    double PH2O = 0.0;        // atm
    double Saturation = 1.0;  // the bubbler's saturation efficiency
    double ContentA = 1.0;    // correction for what cylinder A really holds
    double ContentB = 1.0;
};

// The quantities of the model an input acts on.
enum class TModelInput { QA, QB, PH2O, Saturation, ContentA, ContentB };

// The ppm of the three species; zeros without any gas.
TPpm ModelPpm(const TModelQuantities& q);

// The sensitivity coefficients dppm/dx of the three species to one quantity.
TPpm ModelSensitivity(const TModelQuantities& q, TModelInput x);

}  // namespace gasmixer
