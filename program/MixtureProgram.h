#pragma once

#include "common/DateTime.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gasmixer {

// What one line of a mixture program asks for. Hold has no duration: it keeps
// the step before it running when the program ends.
enum class StepKind { Mixture, Flush, Bypass, Stop, Hold };

// The operation of the window a step presses as the operator would.
enum class ProgramOperation { ApplyMixture, Flush, Bypass, Stop };

std::string_view StepKindName(StepKind kind);  // as written in a program file
std::optional<ProgramOperation> OperationOf(StepKind kind);  // nothing for hold

struct ProgramStep {
    StepKind Kind = StepKind::Stop;
    int GasAPpm = 0;                   // mixture only
    int H2OPpm = 0;                    // mixture only
    std::optional<double> GasBLimit;   // g/min; nothing keeps the current limit
    double Minutes = 0.0;              // not for hold

    friend bool operator==(const ProgramStep&, const ProgramStep&) = default;
};

// An ordered list of steps; only the last may be a hold.
struct MixtureProgram {
    std::vector<ProgramStep> Steps;

    bool EndsWithHold() const { return !Steps.empty() && Steps.back().Kind == StepKind::Hold; }
    // The steps that take time: all but a closing hold.
    int TimedStepCount() const;
    double TotalMinutes() const;
    // When each timed step begins, then when the program ends.
    std::vector<TDateTime> StepStarts(TDateTime start) const;

    friend bool operator==(const MixtureProgram&, const MixtureProgram&) = default;
};

}  // namespace gasmixer
