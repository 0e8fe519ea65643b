#pragma once

#include "common/DateTime.h"
#include "gasdata/FlowInfo.h"
#include "gasdata/MolarMasses.h"
#include "mixer/GasBLimit.h"
#include "mixer/MixerState.h"
#include "program/ProgramPlanCheck.h"
#include "program/ProgramSequencer.h"
#include "records/RecordRow.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace gasmixer {

// What a view needs to plan previews and show the run; sent after every
// command and tick.
struct MixerSnapshot {
    TMixerState Mode = TMixerState::Unknown;
    TDateTime StopDeadline = 0.0;
    std::string MixingMethod;
    double WettingFraction = 0.0;
    TFlowInfo FlowInfoA;
    TFlowInfo FlowInfoB;
    std::string GasA;  // the chosen list entries; empty when none
    std::string GasB;
    double PH2O = 0.0;  // atm, at the bubbler's last reading
    bool UncappedWater = false;  // the relay board is the fake port: no bubbler caps the water
};

// Where the program runner stands, for the Program tab.
struct ProgramRunStatus {
    bool Running = false;
    int ActiveStep = -1;  // the running or held step; -1 for none
    std::string Text;
    TDateTime StartedAt = 0.0;    // wall clock, of the program that runs or ran last
    double ElapsedMinutes = 0.0;  // how far it got, in whole seconds

    friend bool operator==(const ProgramRunStatus&, const ProgramRunStatus&) = default;
};

// A gas's delivery fell short of its plan, or recovered. An alarm that ends
// because the mixture stopped has no line.
// A run that ended without its table saved, as its journal holds it.
struct UnsavedRun {
    std::string JournalPath;
    std::string Started;  // "yyyy-mm-dd hh:mm"
    int Rows = 0;
};

struct DeliveryAlarm {
    char Gas = 'A';
    bool Short = false;
    std::string Line;
    TDateTime Time = 0.0;  // the wall clock's
};

// What the mixer tells whoever shows it. Called on the mixer's thread, and a
// few (the journal's problem) on threads of their own: an implementation
// that shows widgets must hand each call over to its window thread.
class MixerView {
public:
    virtual ~MixerView() = default;

    virtual void StateChanged(const MixerSnapshot&) {}
    virtual void Ticked() {}
    virtual void Error(const std::string&) {}

    // LabelStatus, the window caption while the worker stop is awaited, the
    // mode buttons' availability meanwhile.
    virtual void StatusText(const std::string&) {}
    virtual void WorkerStopWaiting(const std::string& /*caption*/) {}
    virtual void WorkerStopDone() {}
    // The six valve symbols, V1..V6, true = open.
    virtual void ValvesDrawn(const std::array<bool, 6>&) {}

    virtual void DevFeedback(const std::string&) {}
    virtual void SetupFeedback(const std::string&) {}

    // The set-up's answers.
    virtual void RelayBoardChecked(bool) {}
    virtual void MfcChecked(bool) {}
    virtual void GasChosen(int /*address*/, const std::optional<TGasBLimitRange>&) {}
    // The label is empty when the reading failed and the last one stands;
    // forEdit tells the reading a ppm change asked for.
    virtual void WaterTemperatureRead(double /*pH2O*/, const std::string& /*label*/, bool /*forEdit*/) {}

    // An adopted plan: its report, and the fractions it was asked for.
    virtual void PlanAdopted(const std::vector<std::string>& /*report*/, int /*gasAPpm*/, int /*h2oPpm*/,
                             bool /*defined*/) {}
    virtual void MixtureWritten(int /*gasAPpm*/, int /*h2oPpm*/, std::optional<double> /*gasBLimit*/) {}

    // The table: a row's cells as written, a stored row, a reset mark.
    virtual void GridRowWritten(int /*row*/, const std::vector<std::string>& /*cells*/) {}
    virtual void RowStored(int /*row*/, const RecordRow&) {}
    virtual void ResetMarked(TDateTime) {}
    virtual void AutosaveShown(const std::string&) {}
    virtual void DeliveryAlarmChanged(const DeliveryAlarm&) {}
    virtual void Saved(const std::string& /*path*/, bool /*ok*/) {}
    virtual void UnsavedRunFound(const UnsavedRun&) {}

    // The program runner.
    // A step, a pass of it, or a stair of a ramp begins.
    virtual void ProgramStepStarted(const ScheduledStep&) {}
    virtual void ProgramOperationPressed(int, ProgramOperation) {}
    virtual void ProgramEnded(const std::string&) {}
    virtual void ProgramStatusChanged(const ProgramRunStatus&) {}
    // A start the plan check refused; the program did not start.
    virtual void ProgramRefused(const std::vector<StepProblem>&) {}
};

}  // namespace gasmixer
