#include "app/Form1.h"

#include "app/ListBox.h"
#include "common/Pause.h"
#include "common/TextFormat.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "humidity/ThermistorCount.h"
#include "instruments/RelayBoard.h"

#include <QLabel>
#include <QPlainTextEdit>

#include <cmath>

namespace gasmixer {

namespace {

constexpr float EstimatedWaterTemperature = 20.0f;  // ºC

// The wetting worker holds the board for a moment at each of its exchanges;
// a reading that meets one is tried again shortly.
constexpr int WaterReadingAttempts = 3;
constexpr std::uint32_t WaterReadingRetryMs = 30;

bool Answered(const TSerialResponse& response)
{
    return response.Status.empty() && response.ResponseLength >= 2;
}

std::string TemperatureText(double celsius) { return "@ " + FormatFloat("0.0", celsius) + "\u00BAC"; }

}  // namespace

void TForm1::RtIntegerEditH2OTempValueChanged()
{
    if (BothPortsFake()) {
        RtIntegerEditpH2O->SetValue(WaterVapourPressure(EstimatedWaterTemperature));
        Label14->setText(QString::fromStdString(TemperatureText(EstimatedWaterTemperature) + " (Estimated)"));
        return;
    }
    // Without a chosen board nothing is asked and the reading is a count of 0.
    std::uint32_t count = 0;
    const std::string port = ListBoxPortSolenoid->SelectedText();
    if (!port.empty()) {
        TSerialPort relayBoard;
        relayBoard.Port = port;
        TSerialResponse response = ReadAnalogInput(relayBoard);
        for (int attempt = 1; attempt < WaterReadingAttempts && !Answered(response); ++attempt) {
            Pause(WaterReadingRetryMs);
            response = ReadAnalogInput(relayBoard);
        }
        // An exchange that failed measured nothing: once the board has
        // answered, its last reading stands rather than a water at 0 ºC that
        // would skew every plan and record after it.
        if (!Answered(response) && waterReadOnce_) {
            AppendDevFeedback("Water temperature not read (" +
                              (response.Status.empty() ? std::string("incomplete reply") : response.Status) +
                              "); the last reading stands");
            return;
        }
        waterReadOnce_ = waterReadOnce_ || Answered(response);
        count = AnalogCount(response);
    }
    const TWaterReading reading = WaterReadingOfCount(count);
    for (const std::string& line : reading.Lines) MemoDevFeedback->appendPlainText(QString::fromStdString(line));
    RtIntegerEditpH2O->SetValue(WaterVapourPressure(static_cast<float>(reading.Temperature)));
    Label14->setText(QString::fromStdString(TemperatureText(reading.Temperature)));
}

void TForm1::Button2Click()
{
    RtIntegerEditH2Oppm->SetValue(static_cast<int>(std::floor(RtIntegerEditpH2O->Value() * 1000000.0)));
}

}  // namespace gasmixer
