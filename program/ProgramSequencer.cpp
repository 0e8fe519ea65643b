#include "program/ProgramSequencer.h"

#include <algorithm>

namespace gasmixer {

ProgramSequencer::ProgramSequencer(MixtureProgram program, TDateTime start)
    : program_(std::move(program)), schedule_(ScheduleOf(program_))
{
    starts_.reserve(schedule_.Entries.size() + 1);
    for (const ScheduledStep& entry : schedule_.Entries) starts_.push_back(start + entry.StartMinutes * OneMinute);
    starts_.push_back(start + schedule_.TotalMinutes * OneMinute);
}

TDateTime ProgramSequencer::StepEnd(int entry) const
{
    const ScheduledStep& of = Entry(entry);
    int next = entry + 1;
    while (next <= LastEntry() && Entry(next).Step == of.Step && Entry(next).Pass == of.Pass) ++next;
    return starts_[static_cast<std::size_t>(next)];
}

ProgramPosition ProgramSequencer::PositionAt(TDateTime now) const
{
    // A clock set back before the start reads as the start.
    now = std::max(now, Start());
    ProgramPosition p;
    if (now >= End()) {
        p.Entry = std::max(LastEntry(), 0);
        p.StepStart = StepStart(p.Entry);
        p.Finished = true;
        return p;
    }
    // The last entry that has begun; an entry of no time never is current.
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), now);
    p.Entry = static_cast<int>(next - starts_.begin()) - 1;
    p.StepStart = StepStart(p.Entry);
    p.StepLeft = StepEnd(p.Entry) - now;
    p.ProgramLeft = End() - now;
    return p;
}

std::optional<ProgramPress> ProgramSequencer::Advance(TDateTime now)
{
    if (finished_) return std::nullopt;
    const int last = LastEntry();
    const auto operationAt = [this](int entry) { return Entry(entry).Operation; };
    if (now >= End()) {
        finished_ = true;
        if (schedule_.Holds) {
            // The entry that hold keeps must have run, even for no time.
            if (lastPressed_ == last) return std::nullopt;
            const int skipped = last - lastPressed_ - 1;
            lastPressed_ = last;
            return ProgramPress{last, operationAt(last), false, skipped};
        }
        if (lastPressed_ == last && operationAt(last) == ProgramOperation::Stop) return std::nullopt;
        const int skipped = last - lastPressed_ - (operationAt(last) == ProgramOperation::Stop ? 1 : 0);
        lastPressed_ = last;
        return ProgramPress{last, ProgramOperation::Stop, true, std::max(skipped, 0)};
    }
    const int current = PositionAt(now).Entry;
    if (current <= lastPressed_) return std::nullopt;
    const int skipped = current - lastPressed_ - 1;
    lastPressed_ = current;
    return ProgramPress{current, operationAt(current), false, skipped};
}

}  // namespace gasmixer
