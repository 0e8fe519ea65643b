#include "uncertainty/UncertaintyBudget.h"

#include "gasdata/MolarMasses.h"

#include <algorithm>
#include <cmath>

namespace gasmixer {
namespace {

// A limit ± a, any value within equally likely.
double Rectangular(double limit) { return limit / std::sqrt(3.0); }

// The step of a totalizer reading of `grams`: its own least step, or that of
// the 32-bit float of kilograms it is read as, whichever is coarser.
double ReadingStep(double grams, double resolution)
{
    const float kg = static_cast<float>(grams / 1000);
    const double floatStep = (static_cast<double>(std::nextafter(kg, INFINITY)) - kg) * 1000;
    return std::max(resolution, floatStep);
}

class BudgetBuilder {
public:
    BudgetBuilder(const TMixturePoint& point, const TAccuracySettings& settings)
        : point_(point), settings_(settings), q_(QuantitiesAt(point, settings))
    {
    }

    std::vector<TBudgetLine> Lines()
    {
        Controller("A", point_.A, settings_.ControllerA, TModelInput::QA);
        Controller("B", point_.B, settings_.ControllerB, TModelInput::QB);
        Content("A", point_.A, settings_.GasA, TModelInput::ContentA);
        Content("B", point_.B, settings_.GasB, TModelInput::ContentB);
        if (q_.WetShare > 0 && q_.PH2O > 0) Water();
        return std::move(lines_);
    }

private:
    void Add(std::string input, std::string unit, double u, const TPpm& sensitivity)
    {
        TBudgetLine line{std::move(input), std::move(unit), u, sensitivity, {}};
        for (int s = 0; s < SpeciesCount; ++s) line.Contribution[s] = sensitivity[s] * u;
        lines_.push_back(std::move(line));
    }

    void Controller(const std::string& gas, const TMeteredGas& metered, const TControllerAccuracy& accuracy,
                    TModelInput input)
    {
        if (!(metered.Quantity > 0)) return;
        const TPpm c = ModelSensitivity(q_, input);
        const std::string unit = point_.Totalized ? "g" : "g/min";
        const double q = metered.Quantity;
        const std::string mfc = "MFC " + gas;
        Add(mfc + " accuracy, % of reading", unit,
            StandardFrom(accuracy.ReadingPercent / 100 * q, accuracy.AccuracyStatedAs), c);
        // The full-scale error holds while the gas flows: a pulsed gas flows
        // at its pulse setpoint for quantity / running flow of the time.
        const double flowing = metered.RunningFlow > 0 ? q / metered.RunningFlow : 0.0;
        const double fullScale = point_.Totalized ? metered.FullScale * flowing
                                                  : metered.FullScale * std::min(1.0, flowing);
        Add(mfc + " accuracy, % of full scale", unit,
            StandardFrom(accuracy.FullScalePercent / 100 * fullScale, accuracy.AccuracyStatedAs), c);
        Add(mfc + " repeatability", unit, accuracy.RepeatabilityPercent / 100 * q, c);
        if (point_.Totalized) {
            const double step = ReadingStep(q, accuracy.TotalizerResolutionGrams);
            Add("Totalizer " + gas + " resolution", unit, Rectangular(step / 2) * std::sqrt(point_.Readings), c);
        } else if (metered.Pulsed && point_.Minutes > 0) {
            Add("Pulses of " + gas + " (one pulse in " + std::to_string(static_cast<int>(point_.Minutes)) + " min)",
                unit, Rectangular(metered.PulseDoseGrams) / point_.Minutes, c);
        }
    }

    void Content(const std::string& gas, const TMeteredGas& metered, const TGasAccuracy& accuracy,
                 TModelInput input)
    {
        if (!(metered.Quantity > 0)) return;
        const TPpm c = ModelSensitivity(q_, input);
        if (metered.Premixed)
            Add("Certified fraction of gas " + gas, "1", accuracy.CertifiedPercent / 100 / CoverageFactor, c);
        else
            Add("Purity of gas " + gas, "1", Rectangular(1 - accuracy.Purity), c);
    }

    void Water()
    {
        const TWaterAccuracy& water = settings_.Water;
        TPpm perDegree = ModelSensitivity(q_, TModelInput::PH2O);
        const double slope = WaterVapourPressureSlope(WaterTemperatureAt(q_.PH2O));
        for (double& c : perDegree) c *= slope;
        Add("Water temperature", "ºC", Rectangular(water.TemperatureLimit), perDegree);
        Add("Saturation efficiency", "1", Rectangular(water.SaturationLimit),
            ModelSensitivity(q_, TModelInput::Saturation));
    }

    const TMixturePoint& point_;
    const TAccuracySettings& settings_;
    const TModelQuantities q_;
    std::vector<TBudgetLine> lines_;
};

}  // namespace

double TMixtureUncertainty::Share(const TBudgetLine& line, TSpecies s) const
{
    const double variance = Species[s].Standard * Species[s].Standard;
    return variance > 0 ? line.Variance(s) / variance : 0.0;
}

TModelQuantities QuantitiesAt(const TMixturePoint& point, const TAccuracySettings& settings)
{
    TModelQuantities q;
    q.QA = point.A.Quantity;
    q.QB = point.B.Quantity;
    q.MolarMassA = point.A.MolarMass;
    q.MolarMassB = point.B.MolarMass;
    q.WetShare = point.WetShare;
    q.PH2O = point.PH2O;
    q.Saturation = settings.Water.SaturationEfficiency;
    return q;
}

TMixtureUncertainty EvaluateUncertainty(const TMixturePoint& point, const TAccuracySettings& settings)
{
    TMixtureUncertainty result;
    result.Budget = BudgetBuilder(point, settings).Lines();
    const TPpm ppm = ModelPpm(QuantitiesAt(point, settings));
    for (int s = 0; s < SpeciesCount; ++s) {
        double variance = 0.0;
        for (const TBudgetLine& line : result.Budget) variance += line.Variance(static_cast<TSpecies>(s));
        TSpeciesUncertainty& species = result.Species[s];
        species.Ppm = ppm[s];
        species.Standard = std::sqrt(variance);
        species.Expanded = CoverageFactor * species.Standard;
    }
    return result;
}

}  // namespace gasmixer
