#include "app/Form1.h"

#include "common/TextFormat.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"

#include <QLabel>

#include <cmath>

namespace gasmixer {

namespace {
constexpr float EstimatedWaterTemperature = 20.0f;  // ºC
}

void TForm1::RtIntegerEditH2OTempValueChanged()
{
    // Until the bubbler thermistor is read, pH2O is that of room temperature.
    RtIntegerEditpH2O->SetValue(WaterVapourPressure(EstimatedWaterTemperature));
    Label14->setText(QString::fromStdString(
        "@ " + FormatFloat("0.0", EstimatedWaterTemperature) + "\u00BAC (Estimated)"));
}

void TForm1::Button2Click()
{
    RtIntegerEditH2Oppm->SetValue(static_cast<int>(std::floor(RtIntegerEditpH2O->Value() * 1000000.0)));
}

}  // namespace gasmixer
