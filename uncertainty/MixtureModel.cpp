#include "uncertainty/MixtureModel.h"

namespace gasmixer {
namespace {

constexpr double Million = 1e6;

// Moles of water per mole of gas B.
double WaterPerMoleB(const TModelQuantities& q) { return q.WetShare * q.PH2O * q.Saturation; }

// Mole fractions and their total.
struct Fractions {
    double A = 0.0;
    double B = 0.0;
    double Water = 0.0;
    double Total = 0.0;
};

Fractions FractionsOf(const TModelQuantities& q)
{
    const double nA = q.QA / q.MolarMassA;
    const double nB = q.QB / q.MolarMassB;
    const double nW = nB * WaterPerMoleB(q);
    Fractions x;
    x.Total = nA + nB + nW;
    if (!(x.Total > 0)) return {};
    x.A = nA / x.Total;
    x.B = nB / x.Total;
    x.Water = nW / x.Total;
    return x;
}

TPpm Scaled(const TModelQuantities& q, double a, double b, double water)
{
    return {q.ContentA * a * Million, q.ContentB * b * Million, water * Million};
}

}  // namespace

TPpm ModelPpm(const TModelQuantities& q)
{
    const Fractions x = FractionsOf(q);
    return Scaled(q, x.A, x.B, x.Water);
}

TPpm ModelSensitivity(const TModelQuantities& q, TModelInput input)
{
    const Fractions x = FractionsOf(q);
    if (!(x.Total > 0)) return {};
    const double r = WaterPerMoleB(q);
    switch (input) {
    case TModelInput::QA: {
        const double k = 1.0 / (x.Total * q.MolarMassA);
        return Scaled(q, (1 - x.A) * k, -x.B * k, -x.Water * k);
    }
    case TModelInput::QB: {
        const double k = 1.0 / (x.Total * q.MolarMassB);
        return Scaled(q, -x.A * (1 + r) * k, x.A * k, r * x.A * k);
    }
    case TModelInput::PH2O:
    case TModelInput::Saturation: {
        // Both act through the water carried per mole of gas B.
        const double other = input == TModelInput::PH2O ? q.Saturation : q.PH2O;
        const double drdx = q.WetShare * other;
        return Scaled(q, -x.A * x.B * drdx, -x.B * x.B * drdx, x.B * (1 - x.Water) * drdx);
    }
    case TModelInput::ContentA:
        return {x.A * Million, 0.0, 0.0};
    case TModelInput::ContentB:
        return {0.0, x.B * Million, 0.0};
    }
    return {};
}

}  // namespace gasmixer
