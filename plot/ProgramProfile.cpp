#include "plot/ProgramProfile.h"

#include <algorithm>
#include <limits>

namespace gasmixer {

namespace {

constexpr double Gap = std::numeric_limits<double>::quiet_NaN();
constexpr double ShortestProfile = OneMinute;

}  // namespace

TProgramProfile ProfileOf(const ProgramSchedule& schedule, TDateTime start)
{
    TProgramProfile p;
    const auto at = [start](double minutes) { return start + minutes * OneMinute; };
    for (const ScheduledStep& e : schedule.Entries) {
        const TDateTime first = at(e.StartMinutes);
        const TDateTime last = at(e.EndMinutes());
        if (e.Stair <= 1) {
            p.Spans.push_back({first, last, e.Step});
            p.Boundaries.push_back({first, std::to_string(e.Step + 1)});
        } else {
            p.Spans.back().Last = last;
        }
        if (e.Operation == ProgramOperation::ApplyMixture) {
            // Consecutive mixtures join with a riser at the boundary.
            p.A.insert(p.A.end(), {{first, double(e.GasAPpm)}, {last, double(e.GasAPpm)}});
            p.H2O.insert(p.H2O.end(), {{first, double(e.H2OPpm)}, {last, double(e.H2OPpm)}});
        } else {
            p.A.push_back({first, Gap});
            p.H2O.push_back({first, Gap});
            p.Bands.push_back({first, last, e.Operation, e.Step});
        }
    }
    p.Extent = {start, std::max(at(schedule.TotalMinutes), start + ShortestProfile)};
    return p;
}

}  // namespace gasmixer
