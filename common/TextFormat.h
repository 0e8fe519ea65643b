#pragma once

#include "common/DateTime.h"

#include <array>
#include <string>
#include <string_view>

// The one formatter for numbers and date-times shown to the operator, written
// to the memos or saved in the table.
//
// Number patterns: "0" is a digit that always prints, "#" an optional digit,
// "." the locale's decimal separator; every other character (the blank in
// particular) is printed where it stands. The value is rounded, halves away
// from zero, to as many decimals as the pattern has digit positions after ".".
//   FormatFloat("0 000 000", 150)      -> "0 000 150"
//   FormatFloat("0.000 000", 0.000048) -> "0.000 048"
//
// Date-time patterns: yyyy year, m/mm month (minutes after an hour field),
// mmm short month name, d/dd day, h/hh hour, n/nn minute, s/ss second, zzz
// milliseconds, ":" the locale's time separator, "/" its date separator.

namespace gasmixer {

struct FormatSettings {
    char decimalSeparator = '.';
    char timeSeparator = ':';
    char dateSeparator = '/';
    std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
};

// Process-wide settings, read from the user's locale once at program start.
const FormatSettings& CurrentFormatSettings();
void SetFormatSettings(const FormatSettings& settings);

std::string FormatFloat(std::string_view pattern, double value);
std::string FormatFloat(std::string_view pattern, double value, const FormatSettings& settings);

std::string FormatDateTime(std::string_view pattern, TDateTime value);
std::string FormatDateTime(std::string_view pattern, TDateTime value,
                           const FormatSettings& settings);

// General format: the shortest text with at most `precision` significant
// digits; scientific ("1.5E-7", exponent with at least `exponentDigits`
// digits) when the value is below 1e-4 or has more than `precision` integer
// digits.
std::string FormatGeneral(double value, int precision = 15, int exponentDigits = 0);
std::string FormatGeneral(double value, int precision, int exponentDigits,
                          const FormatSettings& settings);

// Fixed-point text with `decimals` decimals, no digit grouping.
std::string FormatFixed(double value, int decimals);
std::string FormatFixed(double value, int decimals, const FormatSettings& settings);

// Nearest integer, halves to the even neighbour.
long long RoundHalfEven(double value);

}  // namespace gasmixer
