#pragma once

#include "common/DateTime.h"
#include "program/MixtureProgram.h"

#include <optional>
#include <vector>

namespace gasmixer {

// Where a running program stands at some moment.
struct ProgramPosition {
    int Step = 0;               // index of the current step; when finished, the last step that ran
    TDateTime StepStart = 0.0;
    double StepLeft = 0.0;      // days
    double ProgramLeft = 0.0;   // days
    bool Finished = false;
};

// An operation due: the step it begins, or the Stop that closes the program.
struct ProgramPress {
    int Step = 0;
    ProgramOperation Operation = ProgramOperation::Stop;
    bool Closing = false;  // the Stop after the last step
    int Skipped = 0;       // steps that came and went unpressed since the last press

    friend bool operator==(const ProgramPress&, const ProgramPress&) = default;
};

// The timing of one program from its start time: which step is current and
// which operation is due. The schedule is anchored at the start, so a late
// press does not push the later steps back. It reads no clock: times are
// day counts of the caller's clock, the monotonic one when a program runs.
class ProgramSequencer {
public:
    ProgramSequencer(MixtureProgram program, TDateTime start);

    const MixtureProgram& Program() const { return program_; }
    TDateTime Start() const { return starts_.front(); }
    TDateTime End() const { return starts_.back(); }
    TDateTime StepStart(int step) const { return starts_[static_cast<std::size_t>(step)]; }

    ProgramPosition PositionAt(TDateTime now) const;

    // The next operation due by now, one at a time; nothing when none is.
    // Steps that already ended unpressed are skipped. At the end the program
    // presses Stop, unless it ends with hold or its last step was a Stop
    // already pressed.
    std::optional<ProgramPress> Advance(TDateTime now);
    bool Finished() const { return finished_; }

private:
    int LastTimedStep() const { return program_.TimedStepCount() - 1; }
    ProgramOperation OperationAt(int step) const;

    MixtureProgram program_;
    std::vector<TDateTime> starts_;
    int lastPressed_ = -1;
    bool finished_ = false;
};

}  // namespace gasmixer
