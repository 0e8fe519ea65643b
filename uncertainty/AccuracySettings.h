#pragma once

namespace gasmixer {

// How a data sheet or certificate states an uncertainty.
enum class TStatedAs {
    Standard,  // one standard uncertainty
    Expanded,  // expanded, coverage factor 2
};

inline constexpr double CoverageFactor = 2.0;

// The standard uncertainty of a value stated as `statedAs`.
double StandardFrom(double stated, TStatedAs statedAs);

// One mass flow controller and its totalizer. The defaults are a common
// data-sheet accuracy of a thermal mass flow controller calibrated on its gas;
// manufacturers' calibration certificates give it as an expanded uncertainty.
struct TControllerAccuracy {
    double ReadingPercent = 0.5;       // ± % of reading
    double FullScalePercent = 0.1;     // ± % of full scale
    TStatedAs AccuracyStatedAs = TStatedAs::Expanded;
    double RepeatabilityPercent = 0.2; // ± % of reading, one standard deviation (data sheets)
    // g; the least step of the totalizer's reading. The reading is a 32-bit
    // float of kilograms, whose own step (under 1 µg below 8 g, 0.12 mg past
    // 1 kg) counts where it is coarser.
    double TotalizerResolutionGrams = 0.000001;

    friend bool operator==(const TControllerAccuracy&, const TControllerAccuracy&) = default;
};

// What a cylinder holds. A pure gas is known by its minimum purity: its
// content lies anywhere between that and 1 (rectangular). A premixed gas by
// its certificate: the certified fraction's relative expanded uncertainty
// (k = 2); 1 % is usual for a certified calibration gas mixture.
struct TGasAccuracy {
    double Purity = 0.99999;          // mol/mol, grade 5.0
    double CertifiedPercent = 1.0;    // ± % of the certified fraction, k = 2

    friend bool operator==(const TGasAccuracy&, const TGasAccuracy&) = default;
};

// The bubbler. Both are limits (rectangular): the thermistor's own tolerance
// plus the lag of the water behind it makes ± 0.5 ºC; a single bubbler at
// these flows saturates gas B to within 2 % of the vapour pressure.
struct TWaterAccuracy {
    double TemperatureLimit = 0.5;       // ± ºC
    double SaturationEfficiency = 1.0;   // the records count on full saturation
    double SaturationLimit = 0.02;       // ±, of the efficiency

    friend bool operator==(const TWaterAccuracy&, const TWaterAccuracy&) = default;
};

struct TAccuracySettings {
    TControllerAccuracy ControllerA;
    TControllerAccuracy ControllerB;
    TGasAccuracy GasA;
    TGasAccuracy GasB;
    TWaterAccuracy Water;
    // A pulsed gas is ahead by up to one pulse: judged over this many minutes
    // for a plan, as long as the run report averages a step.
    double PlanMinutes = 5.0;

    friend bool operator==(const TAccuracySettings&, const TAccuracySettings&) = default;
};

}  // namespace gasmixer
