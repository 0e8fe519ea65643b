#pragma once

#include "program/MixtureProgram.h"

#include <optional>
#include <string>
#include <vector>

namespace gasmixer {

// One operation of a running program: a written step in one pass of its
// repeat, or one stair of a ramp.
struct ScheduledStep {
    int Step = 0;  // index of the written step
    ProgramOperation Operation = ProgramOperation::Stop;
    int GasAPpm = 0;  // what Apply Mixture applies
    int H2OPpm = 0;
    std::optional<double> GasBLimit;
    double StartMinutes = 0.0;  // from the program's start
    double Minutes = 0.0;
    int Pass = 1;  // from 1, of Passes; 1 of 1 outside a repeat
    int Passes = 1;
    int Stair = 0;  // ramps only: from 1, of Stairs
    int Stairs = 0;

    double EndMinutes() const { return StartMinutes + Minutes; }
    friend bool operator==(const ScheduledStep&, const ScheduledStep&) = default;
};

// A program in the order it runs: every pass of each repeat, every stair of
// each ramp. A closing hold is no entry: it keeps the last one running.
struct ProgramSchedule {
    std::vector<ScheduledStep> Entries;
    double TotalMinutes = 0.0;
    bool Holds = false;
};

// How many stairs a ramp of `minutes` climbs: one each `stairMinutes`, the
// last one shorter when they do not divide.
int StairCount(double minutes, double stairMinutes);

// A ramp goes from the values in force at its start to its own, each stair
// applying the value the straight line reaches at the stair's end, so the
// last stair holds the ramp's own values. A ramp with nothing applied
// before it starts from 0 ppm; the file reader refuses that program.
ProgramSchedule ScheduleOf(const MixtureProgram& program);

// A program's time as its status shows it: h:mm:ss, hours beyond a day included.
std::string DurationText(double minutes);

}  // namespace gasmixer
