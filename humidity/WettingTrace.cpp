#include "humidity/WettingTrace.h"

#include "common/TextFormat.h"

namespace gasmixer {
namespace {

std::string Flag(bool value) { return value ? "-1" : "0"; }
std::string Word(bool value) { return value ? "True" : "False"; }
std::string Seconds(double value) { return FormatFloat("0.00", value); }

}  // namespace

std::string WettingTraceLine(std::int32_t counter, bool stop, bool stopped, const TWettingCycle& c)
{
    return "I:" + std::to_string(counter) + "  " + Flag(stop) + Flag(stopped) +
           " Elapsed:" + Seconds(c.TotalElapsedTimeS) +
           "  Desired WT:" + Seconds(c.DesiredWETTotalTimeS) +
           " - Occured WT:" + Seconds(c.OccuredWETTotalTimeS) +
           " = Error in WT:" + Seconds(c.ErrorWETTotalTimeS) +
           "  Intended WP:" + Seconds(c.WETPulseIntendedS) +
           "  Previous WP:" + Seconds(c.WETPulseOccurredS) +
           "  D-skip:" + Word(c.DRYSkip) +
           "  W-skip:" + Word(c.WETSkip) + " ";
}

}  // namespace gasmixer
