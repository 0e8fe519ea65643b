#pragma once

#include "app/MixerState.h"
#include "common/DateTime.h"
#include "program/ProgramPlanCheck.h"
#include "program/ProgramSequencer.h"

#include <QObject>

#include <optional>
#include <string>
#include <vector>

class QTimer;

namespace gasmixer {

class TForm1;

// Runs a mixture program on the window by pressing its operations, as the
// operator would, when each step begins. It leaves the tick alone: its own
// timer calls Poll, and tests call Poll after stepping the clock.
class ProgramRunner final : public QObject {
    Q_OBJECT
public:
    ProgramRunner(TForm1& form, const Clock& clock, QObject* parent = nullptr);

    // Plans every mixture step with the window's gases and controllers. With
    // problems the program does not start and they are returned; otherwise
    // the first step is pressed at once.
    std::vector<StepProblem> Start(const MixtureProgram& program);
    // Ends the program and leaves the mixer in its mode.
    void Stop();
    // Ends the program for a reason of the caller's, shown in its last line.
    void Stop(const std::string& reason);
    // Presses what is due, and notices a mode the program did not set.
    void Poll();

    bool Running() const { return running_; }
    // The program that runs or ran last; nothing before the first start.
    const ProgramSequencer* Sequencer() const { return sequencer_ ? &*sequencer_ : nullptr; }
    // "Step 2 of 4 (flush): 0:00:40 left in step, 2:00:40 left in program" and the like.
    std::string StatusText() const;
    // The row to highlight: the running step, the held one, or none (-1).
    int ActiveStep() const;

    ProgramPlanContext PlanContext() const;

signals:
    // A step began: its operation was pressed (a closing Stop of a stop step counts).
    void StepStarted(int step);
    // Every operation the program pressed, the closing Stop included.
    void OperationPressed(int step, gasmixer::ProgramOperation operation);
    // The program ended, for whatever reason; the line went to MemoDevFeedback.
    void Ended(const QString& line);
    void StatusChanged();

private:
    void Press(const ProgramPress& press);
    void WriteMixture(const ProgramStep& step);
    // What ended the program behind its back, or nothing.
    std::optional<std::string> Interference(TDateTime now);
    void End(const std::string& line);
    void EndEarly(TDateTime now, const std::string& reason);
    void Log(const std::string& line);
    std::string StepOfTotal(int step) const;

    TForm1& form_;
    const Clock& clock_;
    QTimer* timer_;
    std::optional<ProgramSequencer> sequencer_;
    bool running_ = false;
    bool polling_ = false;
    bool modeButtonPressed_ = false;
    bool held_ = false;
    std::string endText_;
    // What the program last set, so that a change made by others shows.
    TMixerState expectedMode_ = TMixerState::Unknown;
    TDateTime knownDeadline_ = 0.0;
};

}  // namespace gasmixer
