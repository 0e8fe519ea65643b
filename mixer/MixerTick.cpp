#include "mixer/Mixer.h"

#include "common/ScopedFlag.h"
#include "regulation/MethodActions.h"
#include "regulation/TickCadence.h"
#include "regulation/WettingDrawing.h"

#include <limits>

namespace gasmixer {

namespace {

constexpr std::uint32_t FlushBypassMs = 2000;
constexpr std::uint32_t FlushBubblerMs = 5000;
constexpr std::uint32_t FlushDryMs = 2000;

// Days since `last`; endless when there was none.
double Since(const std::optional<double>& last, double now)
{
    return last ? now - *last : std::numeric_limits<double>::infinity();
}

}  // namespace

// The control loop: everything the mixer does during a run starts here.
void TMixer::Timer1Timer()
{
    // A closed mixer has shut down and ticks no more.
    if (ticking_ || closed_) return;
    const ScopedFlag running(ticking_);
    struct Told {
        TMixer& mixer;
        ~Told()
        {
            mixer.TellState();
            mixer.view_.Ticked();
        }
    } told{*this};
    try {
        TakeWorkerResults();
        saver_.Collect();
        if (services_.clock.Now() > StopDeadline) {
            ButtonStopClick();
            StopDeadline = services_.clock.Now() + CounterHours / 24;
        }

        const double now = services_.monotonic.Elapsed();
        const bool cadenceMode = Mode == TMixerState::Dilution || Mode == TMixerState::Bypass;
        if (StoreDue(PreviousMode != Mode, cadenceMode, now - TotalizerB.StartTime, Since(LastStoreTime, now),
                     StoreIntervalMinutes)) {
            StoreData();
        }
        if (AutosaveDue(Mode == TMixerState::Dilution, Since(LastAutosaveTime, services_.monotonic.Elapsed())))
            Autosave();
        PreviousMode = Mode;
        if (Mode != TMixerState::Dilution) EndDeliveryWatch();

        switch (Mode) {
        case TMixerState::Unknown:
            break;
        case TMixerState::Standby:
            StopThread();
            SetValvePositions(0, 0, 0, 0, 0, 0);
            SetMFCFlow(1, 0.0);
            SetMFCFlow(2, 0.0);
            break;
        case TMixerState::Flushing:
            FlushSequence();
            break;
        case TMixerState::Dilution:
            DilutionStep();
            break;
        case TMixerState::Bypass:
            ReadTotalizers();
            SetValvePositions(0, 0, 1, 0, 0, 0);
            SetMFCFlow(1, 0.0);
            SetMFCFlow(2, MaxFlowB);
            break;
        }
    } catch (const std::exception& e) {
        // An error ends this tick only; the next starts afresh.
        view_.Error(e.what());
    }
}

bool TMixer::FlushCheckpoint()
{
    TellState();
    const bool wasTicking = ticking_;
    ticking_ = false;
    RunPending();
    ticking_ = wasTicking;
    return !closed_;
}

// About nine seconds of gas B through the bypass, the bubbler and the
// chambers, then Standby. A command that comes meanwhile runs at the pause
// after the next valve change: before the last wait its mode is overridden
// by Standby, after it the mode stands and the next tick applies it. A close
// met there has shut everything: the sequence ends at once, so no valve
// opens after it.
void TMixer::FlushSequence()
{
    const auto step = [this](const char* status, std::array<int, 6> valves, std::uint32_t waitMs) {
        view_.StatusText(status);
        SetValvePositions(valves[0], valves[1], valves[2], valves[3], valves[4], valves[5]);
        if (!FlushCheckpoint()) return false;
        services_.sleep(waitMs);
        return true;
    };
    SetMFCFlow(2, MaxFlowB);
    if (!step("Flush bypass line with gas B (2 sec)", {0, 0, 1, 0, 0, 0}, FlushBypassMs)) return;
    if (!step("Flush bubbler and chambers (5 sec)", {1, 1, 0, 0, 0, 1}, FlushBubblerMs)) return;
    if (!step("Flush chambers with dry (2 sec)", {0, 0, 0, 1, 0, 1}, FlushDryMs)) return;
    SetMFCFlow(2, 0.0);
    Mode = TMixerState::Standby;
    view_.StatusText("Standby");
    if (!FlushCheckpoint()) return;
    SetValvePositions(0, 0, 0, 0, 0, 0);
}

void TMixer::DilutionStep()
{
    const std::optional<TMethodActions> method = MethodActionsFor(MixingMethod);
    if (!method) {
        // Nothing adopted that the mixer knows how to run: leave it as it is.
        if (!unknownMethodReported_) {
            view_.DevFeedback("Unknown mixing method \"" + MixingMethod + "\": valves and flows left unchanged");
            unknownMethodReported_ = true;
        }
        return;
    }
    ReadTotalizers();
    if (!MethodStarted && !method->Humidified) {
        SetValvePositions(0, 0, 0, 1, 1, 0);
        MethodStarted = true;
    }
    if (!MethodStarted && method->Humidified) {
        StartWettingThread();
        MethodStarted = true;
    }
    if (MethodStarted && method->Humidified) {
        // The worker switches the real valves; the picture shows a likely state.
        view_.ValvesDrawn(WettingDrawing(WettingFraction, services_.drawPercent()));
    }
    if (!SetpointASent && method->GasA == TFlowRegulation::Constant) {
        ConstantFlowA();
        SetpointASent = true;
    }
    if (!SetpointBSent && method->GasB == TFlowRegulation::Constant) {
        ConstantFlowB();
        SetpointBSent = true;
    }
    if (!SetpointASent && method->GasA == TFlowRegulation::Pulse) AinBPulse();
    if (!SetpointBSent && method->GasB == TFlowRegulation::Pulse) BinAPulse();
    WatchDelivery(*method);
}

}  // namespace gasmixer
