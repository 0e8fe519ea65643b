#include "app/Form1.h"

#include "app/ListBox.h"
#include "common/Pause.h"
#include "instruments/VogtlinPort.h"
#include "instruments/VogtlinRegisters.h"
#include "regulation/PulseRegulation.h"

namespace gasmixer {

namespace {

constexpr std::uint32_t TotalizerRegister = RegisterNumber(TVogtlinRegister::Totalizer);
constexpr std::uint32_t SetpointRegister = RegisterNumber(TVogtlinRegister::Setpoint);
constexpr std::uint32_t PulseSettleMs = 50;

// A link to both controllers on the selected MFC port, for one operation.
// Without a selected port every exchange fails quietly, as on the fake port.
TVogtlinPort MfcLink(const TListBox& ports)
{
    TVogtlinPort port;
    port.Port = ports.SelectedText();
    ApplyMfcLineSettings(port);
    return port;
}

// The register holds kilograms; NaN when the controller did not answer.
double TotalizerGrams(TVogtlinPort& port, std::uint32_t address)
{
    return 1000.0 * static_cast<double>(port.ReadF32(address, TotalizerRegister).AsFloat);
}

}  // namespace

// Zeroes both totalizers at the start of a mixture. Value keeps the last
// run's total until the next read.
void TForm1::ResetRetrieveTotalizers()
{
    TVogtlinPort port = MfcLink(*ListBoxPortMFC);
    port.WriteF32(1, RegisterNumber(TVogtlinRegister::TotalizerReset), 0.0f);
    Pause(20);
    port.WriteF32(2, RegisterNumber(TVogtlinRegister::TotalizerReset), 0.0f);
    Pause(20);
    TotalizerA.StartValue = TotalizerGrams(port, 1);
    TotalizerA.StartTime = services_.clock.Now();
    TotalizerA.Time = TotalizerA.StartTime;
    Pause(20);
    TotalizerB.StartValue = TotalizerGrams(port, 2);
    TotalizerB.StartTime = services_.clock.Now();
    TotalizerB.Time = TotalizerB.StartTime;
}

void TForm1::ReadTotalizers()
{
    TVogtlinPort port = MfcLink(*ListBoxPortMFC);
    TotalizerA.Value = TotalizerGrams(port, 1);
    TotalizerA.Time = services_.clock.Now();
    Pause(50);
    TotalizerB.Value = TotalizerGrams(port, 2);
    TotalizerB.Time = services_.clock.Now();
    Pause(50);
}

// One setpoint per plan: a lost write is not repeated until the next plan.
void TForm1::ConstantFlowA()
{
    if (SetpointASent) return;
    TVogtlinPort port = MfcLink(*ListBoxPortMFC);
    port.WriteF32(1, SetpointRegister, static_cast<float>(RequiredFlowA));
    SetpointASent = true;
    Pause(20);
}

void TForm1::ConstantFlowB()
{
    if (SetpointBSent) return;
    TVogtlinPort port = MfcLink(*ListBoxPortMFC);
    port.WriteF32(2, SetpointRegister, static_cast<float>(RequiredFlowB));
    SetpointBSent = true;
    Pause(20);
}

void TForm1::AinBPulse() { PulseStep('A', 1, TotalizerA, RequiredFlowA, PulseExtraA, PulseSetpointA); }

void TForm1::BinAPulse() { PulseStep('B', 2, TotalizerB, RequiredFlowB, PulseExtraB, PulseSetpointB); }

void TForm1::PulseStep(char gas, std::uint32_t address, TTotalizer& totalizer, double requiredFlow,
                       double& extra, float pulseSetpoint)
{
    TPulseStep step;
    {
        TVogtlinPort port = MfcLink(*ListBoxPortMFC);
        totalizer.Value = TotalizerGrams(port, address);
        totalizer.Time = services_.clock.Now();
        Pause(PulseSettleMs);
        step = DecidePulse({gas, totalizer.Value, totalizer.StartTime, services_.clock.Now(), requiredFlow,
                            extra, PulseCount});
        // An unread totalizer leaves the counters and the controller as they are.
        if (step.Decided) {
            extra = step.Extra;
            PulseCount = step.PulseCount;
            if (step.PulseMs) {
                port.WriteF32(address, SetpointRegister, pulseSetpoint);
                services_.sleep(*step.PulseMs);
            }
            port.WriteF32(address, SetpointRegister, 0.0f);
            Pause(PulseSettleMs);
        }
    }
    for (const std::string& line : step.Log) AppendDevFeedback(line);
}

}  // namespace gasmixer
