#include "regulation/PulseRegulation.h"

#include "common/TextFormat.h"

#include <algorithm>
#include <cmath>

namespace gasmixer {

namespace {
// The counter of the longest pulse: 10 ms a step above the base.
constexpr double LongestExtra = (LongestPulseMs - BasePulseMs) / 10.0;
}  // namespace

TPulseStep DecidePulse(const TPulseInput& in)
{
    const std::string gas(1, in.Gas);
    TPulseStep step;
    step.Extra = in.Extra;
    step.PulseCount = in.PulseCount;

    const double elapsedMinutes = (in.Now - in.StartTime) * 24 * 60;
    const double target = elapsedMinutes * in.RequiredFlow;
    const double shortfall = target - in.Delivered;
    if (std::isnan(shortfall)) {
        step.Log.push_back(gas + " Totalizer not read: no pulse");
        return step;
    }
    step.Decided = true;

    const bool behind = shortfall > 0;
    // The counter moves before the pulse is sized: the first pulse of a plan
    // (counter 1, raised to 2) lasts 120 ms.
    step.Extra += behind ? 1 : -1;
    step.Extra = std::min(step.Extra, LongestExtra);
    step.Log.push_back((behind ? "Extra flow up           :" : "Extra flow down         :") +
                       FormatFloat("0", std::floor(10 * step.Extra)) + " ");
    if (step.Extra < 0) step.Extra = 0;

    if (behind) {
        ++step.PulseCount;
        step.Log.push_back(gas + " Send more flow " + std::to_string(step.PulseCount));
        step.PulseMs = BasePulseMs + static_cast<std::uint32_t>(std::floor(10 * step.Extra));
    } else {
        step.Log.push_back(gas + " Stop flow");
    }
    step.Log.push_back(gas + " Elapsed time          :" + FormatFloat("0", elapsedMinutes * 60) + " s");
    step.Log.push_back(gas + " Flow should be by now :" + FormatFloat("0.000 000 000", target) + " g");
    step.Log.push_back(gas + " Flow is by now        :" + FormatFloat("0.000 000 000", in.Delivered) + " g");
    return step;
}

}  // namespace gasmixer
