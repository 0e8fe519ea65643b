#pragma once

#include "common/DateTime.h"

// The wetting worker switches gas B between the bubbler (wet) and the dry
// line in cycles of fixed length. Each cycle's wet phase is the wanted share
// of the cycle plus the accumulated shortfall, so that the measured wet time
// follows the wanted share of the elapsed time.

namespace gasmixer {

// A valve phase shorter than this is not switched at all; its time stays in
// the error and is made up in a later cycle.
inline constexpr double ShortestValvePhaseS = 0.15;

// What the law reads at the start of a cycle. Times are days on the
// monotonic clock.
struct TWettingCycleInput {
    double StartTime = 0.0;  // of the run
    double WetStart = 0.0;   // of the previous cycle's wet phase
    double WetEnd = 0.0;
    double OccuredWETTotalTimeS = 0.0;  // before this cycle
    double LoopTimeS = 0.0;
    double DesiredWETFractionOfTime = 0.0;
};

// The values of one cycle, named as the worker's fields.
struct TWettingCycle {
    double TotalElapsedTimeS = 0.0;
    double DesiredWETTotalTimeS = 0.0;
    double WETPulseOccurredS = 0.0;
    double OccuredWETTotalTimeS = 0.0;
    double ErrorWETTotalTimeS = 0.0;
    double WETPulseIntendedS = 0.0;
    double DRYPulseIntendedS = 0.0;
    bool WETSkip = false;
    bool DRYSkip = false;
};

TWettingCycle NextWettingCycle(const TWettingCycleInput& input, double now);

}  // namespace gasmixer
