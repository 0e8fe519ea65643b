#pragma once

#include "common/TextFormat.h"

#include <optional>
#include <string>
#include <string_view>

namespace gasmixer {

// A duration in days as "d.hh:nn:ss<decimal separator>zzz": the day count
// with "." only when there are whole days, the time only when there is a
// time or a day count (so the text reads back as days); 0 gives "".
// Throws std::domain_error for a negative or non-finite duration.
std::string TimeSpanText(double days, const FormatSettings& settings);

// Reads from the right: seconds with decimals, then minutes and hours after
// the time separator, and an optional day count ended by "." before the
// first time separator. A bare number is seconds.
std::optional<double> ParseTimeSpan(std::string_view text, const FormatSettings& settings);

}  // namespace gasmixer
