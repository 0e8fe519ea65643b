#include "program/ProgramSchedule.h"

#include "mixing/FractionBalance.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace gasmixer {

namespace {

// Minutes are decimals from a file: 3 stairs of 0.1 min must not become 4.
constexpr double StairSlack = 1e-9;

struct AppliedPpm {
    int GasA = 0;
    int H2O = 0;
};

int Between(int from, int to, double fraction)
{
    return static_cast<int>(std::lround(from + (to - from) * fraction));
}

class Unroller {
public:
    explicit Unroller(const MixtureProgram& program) : program_(program) {}

    ProgramSchedule Run()
    {
        std::size_t blockStart = 0;       // the first written step since the previous repeat
        std::size_t blockFirstEntry = 0;  // its first entry of pass 1
        for (std::size_t i = 0; i < program_.Steps.size(); ++i) {
            const ProgramStep& step = program_.Steps[i];
            if (step.Kind == StepKind::Hold) {
                schedule_.Holds = true;
            } else if (step.Kind == StepKind::Repeat) {
                const int passes = std::max(step.Passes, 1);
                for (std::size_t e = blockFirstEntry; e < schedule_.Entries.size(); ++e)
                    schedule_.Entries[e].Passes = passes;
                for (int pass = 2; pass <= passes; ++pass)
                    for (std::size_t j = blockStart; j < i; ++j) Emit(j, pass, passes);
                blockStart = i + 1;
                blockFirstEntry = schedule_.Entries.size();
            } else {
                Emit(i, 1, 1);
            }
        }
        schedule_.TotalMinutes = minutes_;
        return std::move(schedule_);
    }

private:
    void Emit(std::size_t index, int pass, int passes)
    {
        const ProgramStep& step = program_.Steps[index];
        ScheduledStep entry;
        entry.Step = static_cast<int>(index);
        entry.Pass = pass;
        entry.Passes = passes;
        entry.StartMinutes = minutes_;
        entry.Minutes = step.Minutes;
        entry.Operation = OperationOf(step.Kind).value_or(ProgramOperation::Stop);
        if (step.Kind == StepKind::Ramp) {
            EmitStairs(entry, step);
        } else {
            if (step.Kind == StepKind::Mixture) {
                entry.GasAPpm = step.GasAPpm;
                entry.H2OPpm = step.H2OPpm;
                entry.GasBLimit = step.GasBLimit;
                applied_ = {step.GasAPpm, step.H2OPpm};
            }
            schedule_.Entries.push_back(entry);
        }
        // Summed per written step, so that stairs add no rounding of their own.
        minutes_ += step.Minutes;
    }

    void EmitStairs(ScheduledStep entry, const ProgramStep& ramp)
    {
        const AppliedPpm from = applied_;
        const double stair = program_.RampStepMinutes;
        entry.Stairs = StairCount(ramp.Minutes, stair);
        entry.GasBLimit = ramp.GasBLimit;
        for (int k = 1; k <= entry.Stairs; ++k) {
            const double begins = (k - 1) * stair;
            const double ends = k == entry.Stairs ? ramp.Minutes : k * stair;
            const double fraction = ramp.Minutes > 0.0 ? ends / ramp.Minutes : 1.0;
            entry.Stair = k;
            entry.StartMinutes = minutes_ + begins;
            entry.Minutes = ends - begins;
            entry.GasAPpm = Between(from.GasA, ramp.GasAPpm, fraction);
            // Each rounded up, the two could pass the whole mixture by 1 ppm.
            entry.H2OPpm = std::min(Between(from.H2O, ramp.H2OPpm, fraction), WholeMixturePpm - entry.GasAPpm);
            schedule_.Entries.push_back(entry);
        }
        applied_ = {ramp.GasAPpm, ramp.H2OPpm};
    }

    const MixtureProgram& program_;
    ProgramSchedule schedule_;
    double minutes_ = 0.0;
    AppliedPpm applied_;
};

}  // namespace

int StairCount(double minutes, double stairMinutes)
{
    if (!(stairMinutes > 0.0) || !(minutes > 0.0)) return 1;
    // Bounded, so that an absurd file is refused by its size instead of overflowing.
    const double stairs = std::ceil(minutes / stairMinutes - StairSlack);
    return static_cast<int>(std::clamp(stairs, 1.0, static_cast<double>(std::numeric_limits<int>::max())));
}

ProgramSchedule ScheduleOf(const MixtureProgram& program) { return Unroller(program).Run(); }

std::string DurationText(double minutes)
{
    const long long seconds = std::max(0LL, std::llround(minutes * 60.0));
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

}  // namespace gasmixer
