#include "program/ProgramSequencer.h"

#include <algorithm>

namespace gasmixer {

ProgramSequencer::ProgramSequencer(MixtureProgram program, TDateTime start)
    : program_(std::move(program)), starts_(program_.StepStarts(start))
{
}

ProgramOperation ProgramSequencer::OperationAt(int step) const
{
    return OperationOf(program_.Steps[static_cast<std::size_t>(step)].Kind).value_or(ProgramOperation::Stop);
}

ProgramPosition ProgramSequencer::PositionAt(TDateTime now) const
{
    // A clock set back before the start reads as the start.
    now = std::max(now, Start());
    ProgramPosition p;
    if (now >= End()) {
        p.Step = std::max(LastTimedStep(), 0);
        p.StepStart = StepStart(p.Step);
        p.Finished = true;
        return p;
    }
    // The last step that has begun; a step of no time never is current.
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), now);
    p.Step = static_cast<int>(next - starts_.begin()) - 1;
    p.StepStart = StepStart(p.Step);
    p.StepLeft = *next - now;
    p.ProgramLeft = End() - now;
    return p;
}

std::optional<ProgramPress> ProgramSequencer::Advance(TDateTime now)
{
    if (finished_) return std::nullopt;
    const int last = LastTimedStep();
    if (now >= End()) {
        finished_ = true;
        if (program_.EndsWithHold()) {
            // The step that hold keeps must have run, even for no time.
            if (lastPressed_ == last) return std::nullopt;
            const int skipped = last - lastPressed_ - 1;
            lastPressed_ = last;
            return ProgramPress{last, OperationAt(last), false, skipped};
        }
        if (lastPressed_ == last && OperationAt(last) == ProgramOperation::Stop) return std::nullopt;
        const int skipped = last - lastPressed_ - (OperationAt(last) == ProgramOperation::Stop ? 1 : 0);
        lastPressed_ = last;
        return ProgramPress{last, ProgramOperation::Stop, true, std::max(skipped, 0)};
    }
    const int current = PositionAt(now).Step;
    if (current <= lastPressed_) return std::nullopt;
    const int skipped = current - lastPressed_ - 1;
    lastPressed_ = current;
    return ProgramPress{current, OperationAt(current), false, skipped};
}

}  // namespace gasmixer
