#include "app/ProgramRunner.h"

#include "app/Form1.h"
#include "app/ListBox.h"
#include "common/ScopedFlag.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"
#include "program/ProgramFile.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <cstdio>

namespace gasmixer {

namespace {

constexpr int PollIntervalMs = 1000;

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
    if (step.Kind == StepKind::Mixture) {
        text += " " + ProgramField(step, GasAColumn) + " ppm A, " + ProgramField(step, H2OColumn) + " ppm H2O";
        if (step.GasBLimit) text += ", gas B limit " + ProgramField(step, GasBLimitColumn) + " g/min";
    }
    return text + ", " + ProgramField(step, MinutesColumn) + " min";
}

// h:mm:ss, hours beyond a day included.
std::string Duration(double days)
{
    const long long seconds = std::max(0LL, std::llround(days * SecondsPerDay));
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

}  // namespace

ProgramRunner::ProgramRunner(TForm1& form, const Clock& clock, QObject* parent)
    : QObject(parent), form_(form), clock_(clock), timer_(new QTimer(this))
{
    timer_->setInterval(PollIntervalMs);
    connect(timer_, &QTimer::timeout, this, &ProgramRunner::Poll);
    // The program presses the operations itself, never the buttons: a click
    // is the operator's. A click that keeps the mode (Stop in a stop step)
    // shows only here.
    for (QPushButton* button : {form_.ButtonStop, form_.ButtonFlush, form_.ButtonBypass, form_.ButtonDilution}) {
        connect(button, &QPushButton::clicked, this, [this] {
            if (held_) {
                held_ = false;
                emit StatusChanged();
            }
            if (running_) EndEarly(clock_.Now(), "a mode button was pressed.");
        });
    }
}

ProgramPlanContext ProgramRunner::PlanContext() const
{
    ProgramPlanContext c;
    c.GasA = form_.ListBoxSetupGas1->SelectedText();
    c.GasB = form_.ListBoxSetupGas2->SelectedText();
    c.FlowInfoA = form_.FlowInfoA;
    c.FlowInfoB = form_.FlowInfoB;
    c.PH2O = form_.RtIntegerEditpH2O->Value();
    c.FakeMode = form_.ListBoxPortSolenoid->SelectedText() == FakePortName;
    c.GasBLimit = form_.RtNumericUpDn1->Value();
    c.GasBLimitMin = form_.RtNumericUpDn1->MinValue();
    c.GasBLimitMax = form_.RtNumericUpDn1->MaxValue();
    c.PreviousWettingFraction = form_.WettingFraction;
    c.Start = clock_.Now();
    c.StopDeadline = form_.StopDeadline;
    c.CounterHours = form_.RtDoubleEditCounter->Value();
    return c;
}

std::vector<StepProblem> ProgramRunner::Start(const MixtureProgram& program)
{
    if (running_) return {{0, "a program is running"}};
    if (form_.ListBoxSetupGas1->ItemIndex() < 0 || form_.ListBoxSetupGas2->ItemIndex() < 0)
        return {{0, "the gases are not chosen"}};
    // The operator may come here straight from the set-up, before any
    // reading of the bubbler; humidified steps need its present pH2O.
    form_.RtIntegerEditH2OTempValueChanged();
    const ProgramPlanContext context = PlanContext();
    if (std::vector<StepProblem> problems = CheckProgramPlans(program, context); !problems.empty())
        return problems;

    sequencer_.emplace(program, context.Start);
    running_ = true;
    held_ = false;
    endText_.clear();
    expectedMode_ = form_.Mode;
    knownDeadline_ = form_.StopDeadline;
    Log("Program started: " + std::to_string(program.Steps.size()) + " steps, " +
        Duration(program.TotalMinutes() * OneMinute) + ".");
    timer_->start();
    Poll();
    return {};
}

void ProgramRunner::Stop()
{
    Stop("stopped by the operator; the mixer keeps its mode.");
}

void ProgramRunner::Stop(const std::string& reason)
{
    if (running_) EndEarly(clock_.Now(), reason);
}

std::optional<std::string> ProgramRunner::Interference(TDateTime now)
{
    if (form_.StopDeadline != knownDeadline_) {
        // The tick re-arms a deadline that has passed; the operator adding
        // hours moves one that has not.
        if (knownDeadline_ < now) return "the automatic stop fired";
        knownDeadline_ = form_.StopDeadline;
    }
    // Mixture steps would be planned for gases no longer chosen.
    if (form_.ListBoxSetupGas1->ItemIndex() < 0 || form_.ListBoxSetupGas2->ItemIndex() < 0)
        return "the gas selection was cleared";
    if (form_.Mode == expectedMode_) return std::nullopt;
    // The flush sequence ends in Standby by itself.
    if (expectedMode_ == TMixerState::Flushing && form_.Mode == TMixerState::Standby) {
        expectedMode_ = TMixerState::Standby;
        return std::nullopt;
    }
    return "a mode button was pressed";
}

void ProgramRunner::Poll()
{
    if (!running_ || polling_) return;
    // The tick turns its timer off while it holds the window (the flush
    // sequence, a worker stop awaited) and takes events meanwhile; a press
    // then would be overridden by the sequence's own Standby.
    if (!form_.Timer1->isActive()) return;
    const ScopedFlag busy(polling_);
    const TDateTime now = clock_.Now();
    try {
        if (const auto why = Interference(now)) {
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
            End(held_ ? "Program finished; step " + std::to_string(sequencer_->PositionAt(now).Step + 1) +
                            " keeps running."
                      : std::string("Program finished."));
            return;
        }
    } catch (const std::exception& e) {
        if (running_) EndEarly(now, e.what());
        throw;
    }
    emit StatusChanged();
}

void ProgramRunner::Press(const ProgramPress& press)
{
    const ProgramStep& step = sequencer_->Program().Steps[static_cast<std::size_t>(press.Step)];
    if (press.Skipped > 0)
        Log("Program skipped " + std::to_string(press.Skipped) + " step(s) whose time had passed.");
    // A closing Stop stands for a last stop step of no time.
    const bool stepBegins = !press.Closing || step.Kind == StepKind::Stop;
    if (stepBegins) Log("Program " + StepOfTotal(press.Step) + ": " + Describe(step) + ".");
    switch (press.Operation) {
    case ProgramOperation::ApplyMixture:
        WriteMixture(step);
        form_.ButtonDilutionClick();
        break;
    case ProgramOperation::Flush: form_.ButtonFlushClick(); break;
    case ProgramOperation::Bypass: form_.ButtonBypassClick(); break;
    case ProgramOperation::Stop: form_.ButtonStopClick(); break;
    }
    expectedMode_ = ModeSetBy(press.Operation);
    knownDeadline_ = form_.StopDeadline;
    emit OperationPressed(press.Step, press.Operation);
    if (stepBegins) emit StepStarted(press.Step);
}

void ProgramRunner::WriteMixture(const ProgramStep& step)
{
    // Through the fields' own setters: the balancing and the preview run as if typed.
    form_.RtIntegerEditGasAPPM->SetValue(step.GasAPpm);
    form_.RtIntegerEditH2Oppm->SetValue(step.H2OPpm);
    if (step.GasBLimit) form_.RtNumericUpDn1->SetValue(*step.GasBLimit);
    // The bubbler may have cooled since the program was checked.
    if (form_.RtIntegerEditH2Oppm->Value() != step.H2OPpm)
        Log("Program: the bubbler delivers only " + std::to_string(form_.RtIntegerEditH2Oppm->Value()) +
            " ppm H2O now.");
}

void ProgramRunner::End(const std::string& line)
{
    running_ = false;
    timer_->stop();
    endText_ = line;
    Log(line);
    emit Ended(QString::fromStdString(line));
    emit StatusChanged();
}

void ProgramRunner::EndEarly(TDateTime now, const std::string& reason)
{
    End("Program ended at " + StepOfTotal(sequencer_->PositionAt(now).Step) + ": " + reason);
}

void ProgramRunner::Log(const std::string& line)
{
    form_.MemoDevFeedback->appendPlainText(QString::fromStdString(line));
}

std::string ProgramRunner::StepOfTotal(int step) const
{
    return "step " + std::to_string(step + 1) + " of " + std::to_string(sequencer_->Program().Steps.size());
}

std::string ProgramRunner::StatusText() const
{
    if (!sequencer_) return "No program has run.";
    if (!running_) return endText_;
    const ProgramPosition p = sequencer_->PositionAt(clock_.Now());
    const ProgramStep& step = sequencer_->Program().Steps[static_cast<std::size_t>(p.Step)];
    std::string text = StepOfTotal(p.Step);
    text[0] = 'S';
    return text + " (" + std::string(StepKindName(step.Kind)) + "): " + Duration(p.StepLeft) +
           " left in step, " + Duration(p.ProgramLeft) + " left in program";
}

int ProgramRunner::ActiveStep() const
{
    if (!sequencer_ || (!running_ && !held_)) return -1;
    return sequencer_->PositionAt(clock_.Now()).Step;
}

}  // namespace gasmixer
