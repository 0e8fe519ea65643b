#include "mixer/ProgramRunner.h"

#include "common/ScopedFlag.h"
#include "program/ProgramFile.h"

#include <algorithm>
#include <cmath>

namespace gasmixer {

namespace {

TMixerState ModeSetBy(ProgramOperation operation)
{
    switch (operation) {
    case ProgramOperation::ApplyMixture: return TMixerState::Dilution;
    case ProgramOperation::Flush: return TMixerState::Flushing;
    case ProgramOperation::Bypass: return TMixerState::Bypass;
    case ProgramOperation::Stop: break;
    }
    return TMixerState::Standby;
}

std::string Describe(const ProgramStep& step)
{
    std::string text(StepKindName(step.Kind));
    if (step.Kind == StepKind::Ramp) text += " to";
    if (step.Kind == StepKind::Mixture || step.Kind == StepKind::Ramp) {
        text += " " + ProgramField(step, GasAColumn) + " ppm A, " + ProgramField(step, H2OColumn) + " ppm H2O";
        if (step.GasBLimit) text += ", gas B limit " + ProgramField(step, GasBLimitColumn) + " g/min";
    }
    return text + ", " + ProgramField(step, MinutesColumn) + " min";
}

}  // namespace

ProgramRunner::ProgramRunner(TMixer& mixer) : mixer_(mixer) {}

ProgramPlanContext ProgramRunner::PlanContext() const
{
    ProgramPlanContext c;
    c.GasA = mixer_.GasA;
    c.GasB = mixer_.GasB;
    c.FlowInfoA = mixer_.FlowInfoA;
    c.FlowInfoB = mixer_.FlowInfoB;
    c.PH2O = mixer_.PH2O;
    c.FakeMode = mixer_.Snapshot().UncappedWater;
    c.GasBLimit = mixer_.GasBLimit;
    c.GasBLimitMin = mixer_.GasBLimitMin;
    c.GasBLimitMax = mixer_.GasBLimitMax;
    c.PreviousWettingFraction = mixer_.WettingFraction;
    c.Start = mixer_.WallClock().Now();
    c.StopDeadline = mixer_.StopDeadline;
    c.CounterHours = mixer_.CounterHours;
    return c;
}

std::vector<StepProblem> ProgramRunner::Start(const MixtureProgram& program)
{
    if (running_) return {{0, "a program is running"}};
    if (mixer_.GasA.empty() || mixer_.GasB.empty()) return {{0, "the gases are not chosen"}};
    // The operator may come here straight from the set-up, before any
    // reading of the bubbler; humidified steps need its present pH2O.
    mixer_.ReadWaterTemperature();
    const ProgramPlanContext context = PlanContext();
    if (std::vector<StepProblem> problems = CheckProgramPlans(program, context); !problems.empty()) return problems;

    sequencer_.emplace(program, mixer_.Monotonic().Elapsed());
    startedAt_ = context.Start;
    running_ = true;
    held_ = false;
    endText_.clear();
    expectedMode_ = mixer_.Mode;
    knownDeadline_ = mixer_.StopDeadline;
    Log("Program started: " + std::to_string(program.Steps.size()) + " steps, " +
        DurationText(sequencer_->Schedule().TotalMinutes) + ".");
    Poll();
    return {};
}

void ProgramRunner::Stop() { Stop("stopped by the operator; the mixer keeps its mode."); }

void ProgramRunner::Stop(const std::string& reason)
{
    if (running_) EndEarly(mixer_.Monotonic().Elapsed(), reason);
}

void ProgramRunner::OperatorPressed()
{
    if (held_) {
        held_ = false;
        TellStatus();
    }
    if (running_) EndEarly(mixer_.Monotonic().Elapsed(), "a mode button was pressed.");
}

std::optional<std::string> ProgramRunner::Interference()
{
    if (mixer_.StopDeadline != knownDeadline_) {
        // The tick re-arms a deadline that has passed; the operator adding
        // hours moves one that has not.
        if (knownDeadline_ < mixer_.WallClock().Now()) return "the automatic stop fired";
        knownDeadline_ = mixer_.StopDeadline;
    }
    // Mixture steps would be planned for gases no longer chosen.
    if (mixer_.GasA.empty() || mixer_.GasB.empty()) return "the gas selection was cleared";
    if (mixer_.Mode == expectedMode_) return std::nullopt;
    // The flush sequence ends in Standby by itself.
    if (expectedMode_ == TMixerState::Flushing && mixer_.Mode == TMixerState::Standby) {
        expectedMode_ = TMixerState::Standby;
        return std::nullopt;
    }
    return "a mode button was pressed";
}

void ProgramRunner::Poll()
{
    if (!running_ || polling_) return;
    const ScopedFlag busy(polling_);
    const double now = mixer_.Monotonic().Elapsed();
    try {
        if (const auto why = Interference()) {
            EndEarly(now, *why + ".");
            return;
        }
        while (running_) {
            const std::optional<ProgramPress> press = sequencer_->Advance(now);
            if (!press) break;
            Press(*press);
        }
        if (running_ && sequencer_->Finished()) {
            held_ = sequencer_->Program().EndsWithHold();
            End(held_ ? "Program finished; step " + std::to_string(ActiveStep() + 1) + " keeps running."
                      : std::string("Program finished."));
            return;
        }
    } catch (const std::exception& e) {
        if (running_) EndEarly(now, e.what());
        throw;
    }
    TellStatus();
}

void ProgramRunner::Press(const ProgramPress& press)
{
    const ScheduledStep& entry = sequencer_->Entry(press.Entry);
    const ProgramStep& step = sequencer_->Program().Steps[static_cast<std::size_t>(entry.Step)];
    if (press.Skipped > 0)
        Log("Program skipped " + std::to_string(press.Skipped) + " step(s) or stair(s) whose time had passed.");
    // A closing Stop stands for a last stop step of no time.
    const bool entryBegins = !press.Closing || step.Kind == StepKind::Stop;
    if (entryBegins && entry.Stair <= 1) Log("Program " + StepOfTotal(press.Entry) + ": " + Describe(step) + ".");
    if (entry.Stair > 0)
        Log("Program " + StepOfTotal(press.Entry) + ", stair " + std::to_string(entry.Stair) + " of " +
            std::to_string(entry.Stairs) + ": " + std::to_string(entry.GasAPpm) + " ppm A, " +
            std::to_string(entry.H2OPpm) + " ppm H2O.");
    switch (press.Operation) {
    case ProgramOperation::ApplyMixture: mixer_.ButtonDilutionClick(RequestOf(entry)); break;
    case ProgramOperation::Flush: mixer_.ButtonFlushClick(); break;
    case ProgramOperation::Bypass: mixer_.ButtonBypassClick(); break;
    case ProgramOperation::Stop: mixer_.ButtonStopClick(); break;
    }
    expectedMode_ = ModeSetBy(press.Operation);
    knownDeadline_ = mixer_.StopDeadline;
    mixer_.TellState();
    mixer_.View().ProgramOperationPressed(entry.Step, press.Operation);
    if (entryBegins) mixer_.View().ProgramStepStarted(entry);
}

MixtureRequest ProgramRunner::RequestOf(const ScheduledStep& entry)
{
    const MixtureRequest request{entry.GasAPpm, entry.H2OPpm, entry.GasBLimit};
    // The bubbler may have cooled since the program was checked.
    const int h2o = mixer_.PlanInputFor(request).H2OPpm;
    if (h2o != entry.H2OPpm) Log("Program: the bubbler delivers only " + std::to_string(h2o) + " ppm H2O now.");
    mixer_.View().MixtureWritten(entry.GasAPpm, h2o, entry.GasBLimit);
    return request;
}

void ProgramRunner::End(const std::string& line)
{
    endedAt_ = std::min(mixer_.Monotonic().Elapsed(), sequencer_->End());
    running_ = false;
    endText_ = line;
    Log(line);
    mixer_.View().ProgramEnded(line);
    TellStatus();
}

void ProgramRunner::EndEarly(double now, const std::string& reason)
{
    End("Program ended at " + StepOfTotal(sequencer_->PositionAt(now).Entry) + ": " + reason);
}

void ProgramRunner::Log(const std::string& line) { mixer_.View().DevFeedback(line); }

// Polled every tick; the line changes once a second at most.
void ProgramRunner::TellStatus()
{
    ProgramRunStatus status{running_, ActiveStep(), StatusText(), startedAt_, ElapsedMinutes()};
    if (status == toldStatus_) return;
    toldStatus_ = status;
    mixer_.View().ProgramStatusChanged(toldStatus_);
}

std::string ProgramRunner::StepOfTotal(int entry) const
{
    const ScheduledStep& e = sequencer_->Entry(entry);
    std::string text =
        "step " + std::to_string(e.Step + 1) + " of " + std::to_string(sequencer_->Program().Steps.size());
    if (e.Passes > 1) text += ", pass " + std::to_string(e.Pass) + " of " + std::to_string(e.Passes);
    return text;
}

std::string ProgramRunner::StatusText() const
{
    if (!sequencer_) return "No program has run.";
    if (!running_) return endText_;
    const ProgramPosition p = sequencer_->PositionAt(mixer_.Monotonic().Elapsed());
    const ScheduledStep& entry = sequencer_->Entry(p.Entry);
    const ProgramStep& step = sequencer_->Program().Steps[static_cast<std::size_t>(entry.Step)];
    std::string text = StepOfTotal(p.Entry);
    text[0] = 'S';
    std::string kind(StepKindName(step.Kind));
    if (entry.Stairs > 0) kind += ", stair " + std::to_string(entry.Stair) + " of " + std::to_string(entry.Stairs);
    return text + " (" + kind + "): " + DurationText(p.StepLeft / OneMinute) + " left in step, " +
           DurationText(p.ProgramLeft / OneMinute) + " left in program";
}

int ProgramRunner::ActiveStep() const
{
    if (!sequencer_ || (!running_ && !held_)) return -1;
    return sequencer_->Entry(sequencer_->PositionAt(mixer_.Monotonic().Elapsed()).Entry).Step;
}

double ProgramRunner::ElapsedMinutes() const
{
    if (!sequencer_) return 0.0;
    const double now = running_ ? mixer_.Monotonic().Elapsed() : endedAt_;
    // In whole seconds, as the status line counts.
    return std::floor(std::max(now - sequencer_->Start(), 0.0) * SecondsPerDay) / 60.0;
}

}  // namespace gasmixer
