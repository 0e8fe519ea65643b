#include "mixer/Mixer.h"

#include "common/ScopedFlag.h"
#include "mixer/ProgramRunner.h"
#include "mixer/MixturePlanInput.h"

namespace gasmixer {

TMixer::TMixer(MixerServices services, MixerView& view)
    : services_(std::move(services)), view_(view), runner_(std::make_unique<ProgramRunner>(*this))
{
    StopDeadline = services_.clock.Now() + 1.0;
    CompoundH2O = FindCompound("H2O");
    ColumnInfo = DefaultColumnInfo();
    for (const RColInfo& column : ColumnInfo) {
        if (column.ColID < 0 || column.Caption.empty()) continue;
        RecordGrid.SetCell(column.ColID, 0, column.Caption);
    }
}

TMixer::~TMixer() = default;

void TMixer::Post(Command command)
{
    std::function<void()> wake;
    {
        const std::lock_guard lock(commandsMutex_);
        commands_.push_back(std::move(command));
        wake = wake_;
    }
    if (wake) wake();
}

void TMixer::SetWake(std::function<void()> wake)
{
    const std::lock_guard lock(commandsMutex_);
    wake_ = std::move(wake);
}

void TMixer::RunPending()
{
    // A command that waits (a worker stop) must not run the ones behind it
    // inside itself: they keep their order.
    if (runningCommands_) return;
    const ScopedFlag running(runningCommands_);
    for (;;) {
        Command command;
        {
            const std::lock_guard lock(commandsMutex_);
            if (commands_.empty()) break;
            command = std::move(commands_.front());
            commands_.pop_front();
        }
        // A failed command ends only itself.
        try {
            command(*this);
        } catch (const std::exception& e) {
            view_.Error(e.what());
        }
        TellState();
    }
}

void TMixer::TellState() { view_.StateChanged(Snapshot()); }

MixerSnapshot TMixer::Snapshot() const
{
    MixerSnapshot s;
    s.Mode = Mode;
    s.StopDeadline = StopDeadline;
    s.MixingMethod = MixingMethod;
    s.WettingFraction = WettingFraction;
    s.FlowInfoA = FlowInfoA;
    s.FlowInfoB = FlowInfoB;
    s.GasA = GasA;
    s.GasB = GasB;
    s.PH2O = PH2O;
    s.UncappedWater = RelayBoard.Port() == FakePortName;
    return s;
}

bool TMixer::BothPortsFake() const { return RelayBoard.Port() == FakePortName && MfcPort == FakePortName; }

void TMixer::Close()
{
    if (closed_) return;
    closed_ = true;
    StopThread();
    CloseValvesAndSetpoints();
    FinishSaves();
}

void TMixer::CloseValvesAndSetpoints()
{
    if (RelayBoardOK) SetValvePositions(0, 0, 0, 0, 0, 0);
    if (MFCOK) {
        SetMFCFlow(1, 0.0);
        SetMFCFlow(2, 0.0);
    }
}

// Every mode button first stops a running wetting worker, so that a worker
// never outlives the Dilution that started it. The hardware follows at the
// next tick.
void TMixer::EnterMode(TMixerState mode, const char* status)
{
    StopThread();
    Mode = mode;
    SetpointBSent = false;
    MethodStarted = false;
    view_.StatusText(status);
}

void TMixer::ButtonStopClick() { EnterMode(TMixerState::Standby, "Standby"); }

void TMixer::ButtonFlushClick() { EnterMode(TMixerState::Flushing, "Flushing"); }

void TMixer::ButtonBypassClick() { EnterMode(TMixerState::Bypass, "Bypass"); }

// From now, not added to the old deadline.
void TMixer::ButtonAddToCounterClick() { StopDeadline = services_.clock.Now() + CounterHours / 24; }

void TMixer::SetGasBLimit(double value, double minimum, double maximum)
{
    GasBLimit = value;
    GasBLimitMin = minimum;
    GasBLimitMax = maximum;
    FlowInfoB.Max = static_cast<float>(value);
}

void TMixer::PreviewShown(std::string planText)
{
    MarkGridReset();
    AdoptPlanText(std::move(planText));
}

PlanInput TMixer::PlanInputFor(const MixtureRequest& request) const
{
    const MixerSnapshot mixer = Snapshot();
    return MixturePlanInput(mixer, BalanceRequest(request.GasAPpm, request.H2OPpm, PH2O, mixer.UncappedWater),
                            request.GasBLimit.value_or(GasBLimit));
}

// "Apply Mixture": the plan for the request becomes the running plan,
// whatever method it is, and the totalizers start counting it.
void TMixer::ButtonDilutionClick(const MixtureRequest& request)
{
    StopThread();
    Calculate(request);
    view_.StatusText("Dilution");
    Mode = TMixerState::Dilution;
    SetpointBSent = false;
    MethodStarted = false;
    StopDeadline = services_.clock.Now() + CounterHours / 24;
    ResetRetrieveTotalizers();
    WetTimeOccurred = 0;
    unknownMethodReported_ = false;
}

void TMixer::Calculate(const MixtureRequest& request)
{
    if (request.GasBLimit) SetGasBLimit(*request.GasBLimit, GasBLimitMin, GasBLimitMax);
    PulseCount = 0;
    PulseExtraA = 1.0;
    PulseExtraB = 1.0;
    SetpointASent = false;
    SetpointBSent = false;
    MarkGridReset();
    if (GasA.empty() || GasB.empty()) {
        AdoptPlanText({});
        view_.PlanAdopted({}, request.GasAPpm, request.H2OPpm, false);
        return;
    }
    const PlanInput input = PlanInputFor(request);
    const PlanResult plan = PlanMixture(input);
    std::string planText;
    for (const std::string& line : plan.Report) planText += line + '\n';
    AdoptPlanText(std::move(planText));
    // Without a plan the running one stays in force.
    if (plan.Defined) {
        MixingMethod = plan.MixingMethod();
        RequiredFlowA = plan.RequiredFlowA;
        RequiredFlowB = plan.RequiredFlowB;
        WettingFraction = plan.WettingFraction;
        planGases_ = RecordGases{GasB, CompoundA.Name, CompoundB.Name};
    }
    view_.PlanAdopted(plan.Report, input.GasAPpm, input.H2OPpm, plan.Defined);
}

}  // namespace gasmixer
