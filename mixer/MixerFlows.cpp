#include "mixer/Mixer.h"

#include "instruments/VogtlinPort.h"
#include "instruments/VogtlinRegisters.h"
#include "regulation/PulseRegulation.h"

namespace gasmixer {

namespace {

constexpr std::uint32_t TotalizerRegister = RegisterNumber(TVogtlinRegister::Totalizer);
constexpr std::uint32_t SetpointRegister = RegisterNumber(TVogtlinRegister::Setpoint);
constexpr std::uint32_t PulseSettleMs = 50;

// The register holds kilograms; NaN when the controller did not answer.
double TotalizerGrams(TVogtlinPort& port, std::uint32_t address)
{
    return 1000.0 * static_cast<double>(port.ReadF32(address, TotalizerRegister).AsFloat);
}

}  // namespace

// A link to both controllers on the chosen MFC port, for one operation.
// Without a chosen port every exchange fails quietly, as on the fake port.
TVogtlinPort TMixer::MfcLink() const
{
    TVogtlinPort port;
    port.Port = MfcPort;
    ApplyMfcLineSettings(port);
    return port;
}

// Zeroes both totalizers at the start of a mixture. Value keeps the last
// run's total until the next read.
void TMixer::ResetRetrieveTotalizers()
{
    TVogtlinPort port = MfcLink();
    port.WriteF32(1, RegisterNumber(TVogtlinRegister::TotalizerReset), 0.0f);
    services_.linePause(20);
    port.WriteF32(2, RegisterNumber(TVogtlinRegister::TotalizerReset), 0.0f);
    services_.linePause(20);
    TotalizerA.StartValue = TotalizerGrams(port, 1);
    TotalizerA.StartTime = services_.monotonic.Elapsed();
    TotalizerA.Time = TotalizerA.StartTime;
    services_.linePause(20);
    TotalizerB.StartValue = TotalizerGrams(port, 2);
    TotalizerB.StartTime = services_.monotonic.Elapsed();
    TotalizerB.Time = TotalizerB.StartTime;
    DeliveryWatchA.Restart();
    DeliveryWatchB.Restart();
}

void TMixer::ReadTotalizers()
{
    TVogtlinPort port = MfcLink();
    TotalizerA.Value = TotalizerGrams(port, 1);
    TotalizerA.Time = services_.monotonic.Elapsed();
    services_.linePause(50);
    TotalizerB.Value = TotalizerGrams(port, 2);
    TotalizerB.Time = services_.monotonic.Elapsed();
    services_.linePause(50);
}

// One setpoint per plan: a lost write is not repeated until the next plan.
void TMixer::ConstantFlowA()
{
    if (SetpointASent) return;
    TVogtlinPort port = MfcLink();
    port.WriteF32(1, SetpointRegister, static_cast<float>(RequiredFlowA));
    SetpointASent = true;
    services_.linePause(20);
}

void TMixer::ConstantFlowB()
{
    if (SetpointBSent) return;
    TVogtlinPort port = MfcLink();
    port.WriteF32(2, SetpointRegister, static_cast<float>(RequiredFlowB));
    SetpointBSent = true;
    services_.linePause(20);
}

void TMixer::AinBPulse() { PulseStep('A', 1, TotalizerA, RequiredFlowA, PulseExtraA, PulseSetpointA); }

void TMixer::BinAPulse() { PulseStep('B', 2, TotalizerB, RequiredFlowB, PulseExtraB, PulseSetpointB); }

void TMixer::PulseStep(char gas, std::uint32_t address, TTotalizer& totalizer, double requiredFlow, double& extra,
                       float pulseSetpoint)
{
    TPulseStep step;
    {
        TVogtlinPort port = MfcLink();
        totalizer.Value = TotalizerGrams(port, address);
        totalizer.Time = services_.monotonic.Elapsed();
        services_.linePause(PulseSettleMs);
        step = DecidePulse(
            {gas, totalizer.Value, totalizer.StartTime, services_.monotonic.Elapsed(), requiredFlow, extra, PulseCount});
        // An unread totalizer leaves the counters and the controller as they are.
        if (step.Decided) {
            extra = step.Extra;
            PulseCount = step.PulseCount;
            if (step.PulseMs) {
                port.WriteF32(address, SetpointRegister, pulseSetpoint);
                services_.sleep(*step.PulseMs);
            }
            port.WriteF32(address, SetpointRegister, 0.0f);
            services_.linePause(PulseSettleMs);
        }
    }
    for (const std::string& line : step.Log) view_.DevFeedback(line);
}

void TMixer::SetMFCFlow(std::uint32_t Address, double Flow)
{
    TVogtlinPort port = MfcLink();
    port.WriteF32(Address, SetpointRegister, static_cast<float>(Flow));
    services_.linePause(20);
}

}  // namespace gasmixer
