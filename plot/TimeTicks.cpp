#include "plot/TimeTicks.h"

#include "common/TextFormat.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace gasmixer {

namespace {

constexpr long long SecondsInDay = 86400;
constexpr std::array<long long, 18> StepsS{
    1,   2,   5,    10,   15,   30,   60,    120,   300,
    600, 900, 1800, 3600, 7200, 10800, 21600, 43200, SecondsInDay};

// The shortest step that leaves at most `maxTicks` ticks, wherever the
// range starts.
long long StepFor(double spanS, int maxTicks)
{
    const int intervals = maxTicks - 1;
    for (const long long step : StepsS)
        if (spanS / static_cast<double>(step) <= intervals) return step;
    const auto days = static_cast<long long>(std::ceil(spanS / SecondsInDay / intervals));
    return days * SecondsInDay;
}

const char* PatternFor(long long stepS, double spanS)
{
    if (stepS >= SecondsInDay) return "dd mmm";
    if (spanS > static_cast<double>(SecondsInDay)) return "dd mmm hh:nn";
    return stepS < 60 ? "hh:nn:ss" : "hh:nn";
}

}  // namespace

std::vector<TTimeTick> ClockTicks(TDateTime from, TDateTime to, int maxTicks)
{
    std::vector<TTimeTick> ticks;
    if (!(to > from)) return ticks;
    maxTicks = std::max(maxTicks, 2);
    const double spanS = (to - from) * SecondsPerDay;
    const long long step = StepFor(spanS, maxTicks);
    const char* pattern = PatternFor(step, spanS);
    // Counted in whole seconds from the midnight before `from`, so that the
    // ticks fall on round clock times.
    const double midnight = std::floor(from);
    const auto firstS = static_cast<long long>(std::ceil((from - midnight) * SecondsPerDay / step)) * step;
    for (long long s = firstS;; s += step) {
        const TDateTime time = midnight + static_cast<double>(s) / SecondsPerDay;
        if (time > to) break;
        if (time >= from) ticks.push_back({time, FormatDateTime(pattern, time)});
    }
    return ticks;
}

}  // namespace gasmixer
