#include "humidity/WettingCycle.h"

namespace gasmixer {

TWettingCycle NextWettingCycle(const TWettingCycleInput& in, double now)
{
    TWettingCycle c;
    c.TotalElapsedTimeS = (now - in.StartTime) * SecondsPerDay;
    c.DesiredWETTotalTimeS = c.TotalElapsedTimeS * in.DesiredWETFractionOfTime;
    c.WETPulseOccurredS = (in.WetEnd - in.WetStart) * SecondsPerDay;
    c.OccuredWETTotalTimeS = in.OccuredWETTotalTimeS + c.WETPulseOccurredS;
    c.ErrorWETTotalTimeS = c.DesiredWETTotalTimeS - c.OccuredWETTotalTimeS;
    c.WETPulseIntendedS = in.LoopTimeS * in.DesiredWETFractionOfTime + c.ErrorWETTotalTimeS;
    c.DRYPulseIntendedS = in.LoopTimeS - c.WETPulseIntendedS;
    // A short wet phase is skipped before a short dry one is considered.
    if (c.WETPulseIntendedS < ShortestValvePhaseS) {
        c.WETSkip = true;
    } else if (c.DRYPulseIntendedS < ShortestValvePhaseS) {
        c.DRYSkip = true;
    }
    return c;
}

}  // namespace gasmixer
