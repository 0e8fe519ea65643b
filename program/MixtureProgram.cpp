#include "program/MixtureProgram.h"

namespace gasmixer {

std::string_view StepKindName(StepKind kind)
{
    switch (kind) {
    case StepKind::Mixture: return "mixture";
    case StepKind::Flush: return "flush";
    case StepKind::Bypass: return "bypass";
    case StepKind::Stop: return "stop";
    case StepKind::Hold: return "hold";
    }
    return "";
}

std::optional<ProgramOperation> OperationOf(StepKind kind)
{
    switch (kind) {
    case StepKind::Mixture: return ProgramOperation::ApplyMixture;
    case StepKind::Flush: return ProgramOperation::Flush;
    case StepKind::Bypass: return ProgramOperation::Bypass;
    case StepKind::Stop: return ProgramOperation::Stop;
    case StepKind::Hold: break;
    }
    return std::nullopt;
}

int MixtureProgram::TimedStepCount() const
{
    return static_cast<int>(Steps.size()) - (EndsWithHold() ? 1 : 0);
}

double MixtureProgram::TotalMinutes() const
{
    double total = 0.0;
    for (int i = 0; i < TimedStepCount(); ++i) total += Steps[static_cast<std::size_t>(i)].Minutes;
    return total;
}

std::vector<TDateTime> MixtureProgram::StepStarts(TDateTime start) const
{
    std::vector<TDateTime> starts{start};
    // Summed in minutes so that long programs do not gather rounding per step.
    double minutes = 0.0;
    for (int i = 0; i < TimedStepCount(); ++i) {
        minutes += Steps[static_cast<std::size_t>(i)].Minutes;
        starts.push_back(start + minutes * OneMinute);
    }
    return starts;
}

}  // namespace gasmixer
