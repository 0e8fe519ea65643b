#pragma once

#include "common/DateTime.h"
#include "common/TextFormat.h"

#include <optional>
#include <string>
#include <string_view>

namespace gasmixer {

// The date-times a field can hold: the year 1 to the last second of 9999.
inline constexpr TDateTime MinFieldDateTime = -693593.0;
inline constexpr TDateTime MaxFieldDateTime = 2958465.99998843;

// "yyyy/mm/dd", followed by " hh:nn:ss" when there is a time of day, with the
// locale's separators.
std::string DateTimeText(TDateTime value, const FormatSettings& settings);

// Reads the same form; the time, and its seconds, may be left out.
std::optional<TDateTime> ParseDateTime(std::string_view text, const FormatSettings& settings);

}  // namespace gasmixer
