#include "app/Form1.h"

#include "app/TimerHold.h"
#include "common/ScopedFlag.h"
#include "common/TextFormat.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "regulation/MethodActions.h"
#include "regulation/TickCadence.h"
#include "regulation/WettingDrawing.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>

namespace gasmixer {

namespace {

constexpr std::uint32_t FlushBypassMs = 2000;
constexpr std::uint32_t FlushBubblerMs = 5000;
constexpr std::uint32_t FlushDryMs = 2000;

}  // namespace

// The control loop: everything the mixer does during a run starts here.
void TForm1::Timer1Timer()
{
    // The flush and a worker stop process events; a tick must not start inside
    // one. A closed window has shut the mixer and ticks no more, whatever
    // restarted the timer.
    if (tickRunning_ || closed_) return;
    const ScopedFlag running(tickRunning_);

    GroupBox12->setTitle(QString::fromStdString("Automatic stop: " +
                                                FormatDateTime("mmm dd @ hh:mm:ss", StopDeadline)));
    if (services_.clock.Now() > StopDeadline) {
        ButtonStopClick();
        StopDeadline = services_.clock.Now() + RtDoubleEditCounter->Value() / 24;
    }

    const TDateTime now = services_.clock.Now();
    const bool cadenceMode = Mode == TMixerState::Dilution || Mode == TMixerState::Bypass;
    if (StoreDue(PreviousMode != Mode, cadenceMode, now - TotalizerB.StartTime, now - LastStoreTime,
                 RtIntegerEdit2->Value())) {
        StoreData();
    }
    if (AutosaveDue(Mode == TMixerState::Dilution, services_.clock.Now() - LastAutosaveTime)) Autosave();
    PreviousMode = Mode;

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
    UpdateTGMix();
    KeepTickCadence();
}

// A tick that outlasted the interval would be followed by the next at once:
// the next one waits a full interval instead, so that the window stays
// responsive while the pulse methods keep the line busy.
void TForm1::KeepTickCadence()
{
    if (Timer1->isActive() && Timer1->remainingTime() == 0) Timer1->start();
}

// About nine seconds of gas B through the bypass, the bubbler and the
// chambers, then Standby. A button clicked meanwhile runs where events are
// processed: before the last wait its mode is overridden by Standby, after
// it the mode stands and the next tick applies it. A close met there has
// shut everything: the sequence ends at once, so no valve opens after it.
void TForm1::FlushSequence()
{
    const TimerHold hold(*Timer1);
    const auto step = [this](const char* status, std::array<int, 6> valves, std::uint32_t waitMs) {
        LabelStatus->setText(QString::fromLatin1(status));
        SetValvePositions(valves[0], valves[1], valves[2], valves[3], valves[4], valves[5]);
        QApplication::processEvents();
        if (closed_) return false;
        services_.sleep(waitMs);
        return true;
    };
    SetMFCFlow(2, MaxFlowB);
    if (!step("Flush bypass line with gas B (2 sec)", {0, 0, 1, 0, 0, 0}, FlushBypassMs)) return;
    if (!step("Flush bubbler and chambers (5 sec)", {1, 1, 0, 0, 0, 1}, FlushBubblerMs)) return;
    if (!step("Flush chambers with dry (2 sec)", {0, 0, 0, 1, 0, 1}, FlushDryMs)) return;
    SetMFCFlow(2, 0.0);
    Mode = TMixerState::Standby;
    LabelStatus->setText(QStringLiteral("Standby"));
    QApplication::processEvents();
    if (closed_) return;
    SetValvePositions(0, 0, 0, 0, 0, 0);
}

void TForm1::DilutionStep()
{
    const std::optional<TMethodActions> method = MethodActionsFor(MixingMethod);
    if (!method) {
        // Nothing adopted that the mixer knows how to run: leave it as it is.
        if (!unknownMethodReported_) {
            AppendDevFeedback("Unknown mixing method \"" + MixingMethod +
                              "\": valves and flows left unchanged");
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
        const std::array<bool, 6> drawn = WettingDrawing(WettingFraction, services_.drawPercent());
        for (int valve = 1; valve <= 6; ++valve) SetValveGraphics(valve, drawn[valve - 1]);
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
}

}  // namespace gasmixer
