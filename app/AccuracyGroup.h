#pragma once

#include "uncertainty/AccuracySettings.h"

#include <QGroupBox>

#include <functional>

class QComboBox;
class QDoubleSpinBox;

namespace gasmixer {

// "Accuracy" on the Setup tab: the controllers' accuracy, the gases' purity
// and the water's, as the uncertainty of the mixture uses them.
class TAccuracyGroup final : public QGroupBox {
public:
    explicit TAccuracyGroup(QWidget* parent = nullptr);

    TAccuracySettings Settings() const;
    // Shows `settings` without telling OnChanged.
    void SetSettings(const TAccuracySettings& settings);

    // Told of every edit, with the settings that result.
    std::function<void(const TAccuracySettings&)> OnChanged;

    struct ControllerFields {
        QDoubleSpinBox* Reading = nullptr;
        QDoubleSpinBox* FullScale = nullptr;
        QComboBox* StatedAs = nullptr;
        QDoubleSpinBox* Repeatability = nullptr;
        QDoubleSpinBox* TotalizerStep = nullptr;
    };
    struct GasFields {
        QDoubleSpinBox* Purity = nullptr;
        QDoubleSpinBox* Certified = nullptr;
    };
    ControllerFields ControllerA;
    ControllerFields ControllerB;
    GasFields GasA;
    GasFields GasB;
    QDoubleSpinBox* WaterTemperature = nullptr;
    QDoubleSpinBox* Saturation = nullptr;

private:
    QDoubleSpinBox* NewField(double maximum, int decimals);
    QComboBox* NewStatedAs();
    void Edited();

    TAccuracySettings shown_;  // what the fields do not show stays as it was
    bool showing_ = false;
};

}  // namespace gasmixer
