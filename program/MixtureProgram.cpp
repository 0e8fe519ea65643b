#include "program/MixtureProgram.h"

namespace gasmixer {

std::string_view StepKindName(StepKind kind)
{
    switch (kind) {
    case StepKind::Mixture: return "mixture";
    case StepKind::Ramp: return "ramp";
    case StepKind::Flush: return "flush";
    case StepKind::Bypass: return "bypass";
    case StepKind::Stop: return "stop";
    case StepKind::Hold: return "hold";
    case StepKind::Repeat: return "repeat";
    }
    return "";
}

std::optional<ProgramOperation> OperationOf(StepKind kind)
{
    switch (kind) {
    case StepKind::Mixture:
    case StepKind::Ramp: return ProgramOperation::ApplyMixture;
    case StepKind::Flush: return ProgramOperation::Flush;
    case StepKind::Bypass: return ProgramOperation::Bypass;
    case StepKind::Stop: return ProgramOperation::Stop;
    case StepKind::Hold:
    case StepKind::Repeat: break;
    }
    return std::nullopt;
}

}  // namespace gasmixer
