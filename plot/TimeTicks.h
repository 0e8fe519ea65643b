#pragma once

#include "common/DateTime.h"

#include <string>
#include <vector>

namespace gasmixer {

struct TTimeTick {
    TDateTime Time = 0.0;
    std::string Label;  // clock time, with the date where the range spans days
};

// Round clock times (whole seconds, minutes, hours or days) for a time axis
// from `from` to `to`, at most `maxTicks` of them (two are always allowed),
// all inside the range.
std::vector<TTimeTick> ClockTicks(TDateTime from, TDateTime to, int maxTicks);

}  // namespace gasmixer
