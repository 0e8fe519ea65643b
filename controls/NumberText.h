#pragma once

#include "common/NumberParse.h"
#include "common/TextFormat.h"

#include <string>
#include <string_view>

namespace gasmixer {

// The general format of value in at most `digits` significant digits, made
// shorter until it is no longer than `digits` characters where possible.
// digits <= 0: the plain general format.
std::string FitText(int digits, double value);

// Fixed-point text with `decimals` decimals showing at most
// MaxSignificantDigits digits of the value; positions beyond them print 0,
// so binary noise (1.1 as 1.100000000000000089) never shows.
inline constexpr int MaxSignificantDigits = 18;
std::string FixedText(double value, int decimals, const FormatSettings& settings);

}  // namespace gasmixer
