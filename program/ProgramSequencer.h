#pragma once

#include "common/DateTime.h"
#include "program/MixtureProgram.h"
#include "program/ProgramSchedule.h"

#include <optional>
#include <vector>

namespace gasmixer {

// Where a running program stands at some moment.
struct ProgramPosition {
    int Entry = 0;              // of the schedule; when finished, the last one that ran
    TDateTime StepStart = 0.0;  // of the entry
    double StepLeft = 0.0;      // days until the written step ends in this pass (a ramp's last stair)
    double ProgramLeft = 0.0;   // days
    bool Finished = false;
};

// An operation due: the schedule entry it begins, or the Stop that closes the program.
struct ProgramPress {
    int Entry = 0;
    ProgramOperation Operation = ProgramOperation::Stop;
    bool Closing = false;  // the Stop after the last entry
    int Skipped = 0;       // entries that came and went unpressed since the last press

    friend bool operator==(const ProgramPress&, const ProgramPress&) = default;
};

// The timing of one program from its start time: which entry of its
// schedule is current and which operation is due. The schedule is anchored
// at the start, so a late press does not push the later steps back. It reads
// no clock: times are day counts of the caller's clock, the monotonic one
// when a program runs.
class ProgramSequencer {
public:
    ProgramSequencer(MixtureProgram program, TDateTime start);

    const MixtureProgram& Program() const { return program_; }
    const ProgramSchedule& Schedule() const { return schedule_; }
    const ScheduledStep& Entry(int entry) const { return schedule_.Entries[static_cast<std::size_t>(entry)]; }
    TDateTime Start() const { return starts_.front(); }
    TDateTime End() const { return starts_.back(); }
    TDateTime StepStart(int entry) const { return starts_[static_cast<std::size_t>(entry)]; }

    ProgramPosition PositionAt(TDateTime now) const;

    // The next operation due by now, one at a time; nothing when none is.
    // Entries that already ended unpressed are skipped. At the end the
    // program presses Stop, unless it ends with hold or its last step was a
    // Stop already pressed.
    std::optional<ProgramPress> Advance(TDateTime now);
    bool Finished() const { return finished_; }

private:
    int LastEntry() const { return static_cast<int>(schedule_.Entries.size()) - 1; }
    // When the written step of `entry` ends in its pass.
    TDateTime StepEnd(int entry) const;

    MixtureProgram program_;
    ProgramSchedule schedule_;
    std::vector<TDateTime> starts_;  // of each entry, then the end
    int lastPressed_ = -1;
    bool finished_ = false;
};

}  // namespace gasmixer
