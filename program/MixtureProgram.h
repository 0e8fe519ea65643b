#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace gasmixer {

// What one line of a mixture program asks for. Hold has no duration: it keeps
// the step before it running when the program ends. Repeat runs the steps
// since the previous repeat (or the start) again.
enum class StepKind { Mixture, Ramp, Flush, Bypass, Stop, Hold, Repeat };

// The operation of the window a step presses as the operator would.
enum class ProgramOperation { ApplyMixture, Flush, Bypass, Stop };

std::string_view StepKindName(StepKind kind);  // as written in a program file
std::optional<ProgramOperation> OperationOf(StepKind kind);  // nothing for hold and repeat

struct ProgramStep {
    StepKind Kind = StepKind::Stop;
    int GasAPpm = 0;                   // mixture, and where a ramp ends
    int H2OPpm = 0;                    // mixture, and where a ramp ends
    std::optional<double> GasBLimit;   // g/min; nothing keeps the current limit
    double Minutes = 0.0;              // not for hold and repeat
    int Passes = 0;                    // repeat only: how many times in all

    friend bool operator==(const ProgramStep&, const ProgramStep&) = default;
};

// A ramp's mixtures change once a minute unless the file says otherwise.
inline constexpr double DefaultRampStepMinutes = 1.0;

// The steps as written, repeats and ramps included; only the last may be a hold.
struct MixtureProgram {
    std::vector<ProgramStep> Steps;
    double RampStepMinutes = DefaultRampStepMinutes;  // how long each stair of a ramp lasts

    bool EndsWithHold() const { return !Steps.empty() && Steps.back().Kind == StepKind::Hold; }

    friend bool operator==(const MixtureProgram&, const MixtureProgram&) = default;
};

}  // namespace gasmixer
