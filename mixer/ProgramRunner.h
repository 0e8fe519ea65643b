#pragma once

#include "common/DateTime.h"
#include "mixer/Mixer.h"
#include "mixer/MixerState.h"
#include "mixer/MixerView.h"
#include "program/ProgramPlanCheck.h"
#include "program/ProgramSequencer.h"

#include <optional>
#include <string>
#include <vector>

namespace gasmixer {

class TMixer;

// Runs a mixture program on the mixer by pressing its operations, as the
// operator would, when each step begins. It lives on the mixer's thread and
// leaves the tick alone: the host polls it between ticks, and tests call
// Poll after stepping the clock. What it does is told through the mixer's view.
class ProgramRunner final {
public:
    explicit ProgramRunner(TMixer& mixer);

    // Plans every mixture step with the mixer's gases and controllers. With
    // problems the program does not start and they are returned; otherwise
    // the first step is pressed at once.
    std::vector<StepProblem> Start(const MixtureProgram& program);
    // Ends the program and leaves the mixer in its mode.
    void Stop();
    // Ends the program for a reason of the caller's, shown in its last line.
    void Stop(const std::string& reason);
    // The operator pressed a mode button: a running program ends, a held step is let go.
    void OperatorPressed();
    // Presses what is due, and notices a mode the program did not set.
    void Poll();

    bool Running() const { return running_; }
    // The program that runs or ran last; nothing before the first start.
    const ProgramSequencer* Sequencer() const { return sequencer_ ? &*sequencer_ : nullptr; }
    // "Step 2 of 4 (flush): 0:00:40 left in step, 2:00:40 left in program",
    // "Step 3 of 8, pass 2 of 10 (ramp, stair 2 of 4): ..." and the like.
    std::string StatusText() const;
    // The row to highlight: the running step, the held one, or none (-1).
    int ActiveStep() const;
    // How far the program got, in whole seconds: now, or where it ended; 0 before the first.
    double ElapsedMinutes() const;

    ProgramPlanContext PlanContext() const;

private:
    void Press(const ProgramPress& press);
    MixtureRequest RequestOf(const ScheduledStep& entry);
    // What ended the program behind its back, or nothing.
    std::optional<std::string> Interference();
    void End(const std::string& line);
    // now: monotonic days.
    void EndEarly(double now, const std::string& reason);
    void Log(const std::string& line);
    void TellStatus();
    // "step 3 of 8", with ", pass 2 of 10" inside a repeat.
    std::string StepOfTotal(int entry) const;

    TMixer& mixer_;
    std::optional<ProgramSequencer> sequencer_;
    TDateTime startedAt_ = 0.0;  // the wall clock's
    double endedAt_ = 0.0;       // monotonic days, once the program ended
    bool running_ = false;
    bool polling_ = false;
    bool held_ = false;
    std::string endText_;
    // What the program last set, so that a change made by others shows.
    TMixerState expectedMode_ = TMixerState::Unknown;
    TDateTime knownDeadline_ = 0.0;
    ProgramRunStatus toldStatus_;  // what the view was last told
};

}  // namespace gasmixer
