#include "app/Form1.h"

#include "common/ScopedFlag.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"

#include <QLabel>

#include <cmath>

namespace gasmixer {

void TForm1::RtIntegerEditH2OTempValueChanged()
{
    const bool forEdit = readingWater_;
    PostOnTheListedPorts([forEdit](TMixer& mixer) { mixer.ReadWaterTemperature(forEdit); });
}

void TForm1::WaterTemperatureRead(double pH2O, const std::string& label, bool forEdit)
{
    const bool changed = pH2O != RtIntegerEditpH2O->Value();
    RtIntegerEditpH2O->SetValue(pH2O);
    if (!label.empty()) Label14->setText(QString::fromStdString(label));
    // The fields were balanced with the water of before: balance the water
    // the operator asked for again.
    if (forEdit && changed && !readingWater_) {
        {
            const ScopedFlag busy(PpmEditBusy);
            RtIntegerEditH2Oppm->SetValue(askedH2OPpm_);
        }
        BalanceAndPreview();
    }
}

void TForm1::Button2Click()
{
    RtIntegerEditH2Oppm->SetValue(static_cast<int>(std::floor(RtIntegerEditpH2O->Value() * 1000000.0)));
}

}  // namespace gasmixer
