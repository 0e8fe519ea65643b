#include "common/TextFormat.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace gasmixer {
namespace {

FormatSettings& MutableSettings()
{
    static FormatSettings settings;
    return settings;
}

bool IsPlaceholder(char c) { return c == '0' || c == '#'; }

std::string NonFinite(double value)
{
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// The digits of |value| rounded half away from zero to `decimals` decimals:
// integer digits without leading zeros ("" for zero) and exactly `decimals`
// fraction digits.
struct RoundedDigits {
    std::string integer;
    std::string fraction;
    bool IsZero() const
    {
        return integer.empty() && fraction.find_first_not_of('0') == std::string::npos;
    }
};

RoundedDigits RoundDigits(double value, int decimals)
{
    decimals = std::clamp(decimals, 0, 100);
    // Thirty extra digits of the binary value's exact expansion decide the
    // rounding; only the first of them matters for halves away from zero.
    // to_chars is exact and ignores the C locale.
    const int printed = decimals + 30;
    char buffer[310 + 1 + 130];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::fixed, printed).ptr;
    const std::string text(buffer, end);

    const std::size_t point = text.find('.');
    std::string digits = text.substr(0, point) + text.substr(point + 1, static_cast<std::size_t>(decimals));
    const bool roundUp = text[point + 1 + static_cast<std::size_t>(decimals)] >= '5';
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) ++digits[static_cast<std::size_t>(i)];
        else digits.insert(digits.begin(), '1');
    }
    RoundedDigits result;
    const std::size_t integerLength = digits.size() - static_cast<std::size_t>(decimals);
    result.integer = digits.substr(0, integerLength);
    result.fraction = digits.substr(integerLength);
    const std::size_t firstSignificant = result.integer.find_first_not_of('0');
    result.integer = firstSignificant == std::string::npos ? "" : result.integer.substr(firstSignificant);
    return result;
}

std::string FormatIntegerSection(std::string_view pattern, std::string digits)
{
    int placeholders = 0;
    int mandatory = 0;
    bool seenZero = false;
    for (char c : pattern) {
        if (!IsPlaceholder(c)) continue;
        ++placeholders;
        seenZero = seenZero || c == '0';
        if (seenZero) ++mandatory;
    }
    if (placeholders == 0) return digits;
    if (static_cast<int>(digits.size()) < mandatory)
        digits.insert(0, static_cast<std::size_t>(mandatory) - digits.size(), '0');

    // Walk from the right, one digit per placeholder; surplus digits go to the
    // leftmost placeholder. Literals between placeholders and left of the
    // leftmost printed digit are dropped; those outside all placeholders print.
    std::string reversed;
    int remaining = static_cast<int>(digits.size());
    int placeholdersLeft = placeholders;
    std::string pendingLiterals;
    for (auto it = pattern.rbegin(); it != pattern.rend(); ++it) {
        if (IsPlaceholder(*it)) {
            --placeholdersLeft;
            if (remaining == 0) {
                continue;
            }
            reversed += pendingLiterals;
            pendingLiterals.clear();
            const int take = placeholdersLeft == 0 ? remaining : 1;
            for (int k = 0; k < take; ++k) reversed += digits[static_cast<std::size_t>(--remaining)];
        } else if (placeholdersLeft == placeholders) {
            reversed += *it;
        } else if (placeholdersLeft == 0) {
            reversed += pendingLiterals;
            pendingLiterals.clear();
            reversed += *it;
        } else {
            pendingLiterals += *it;
        }
    }
    return std::string(reversed.rbegin(), reversed.rend());
}

// Literals after the last placeholder always print; a literal among the
// placeholders prints only while digits are still to come.
std::string FormatFractionSection(std::string_view pattern, const std::string& digits,
                                  char decimalSeparator)
{
    const std::size_t lastPlaceholder = pattern.find_last_of("0#");
    std::string out = digits.empty() ? "" : std::string(1, decimalSeparator);
    std::size_t used = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (IsPlaceholder(c)) {
            if (used < digits.size()) out += digits[used++];
        } else if (lastPlaceholder == std::string_view::npos || i > lastPlaceholder
                   || used < digits.size()) {
            out += c;
        }
    }
    return out;
}

void AppendNumber(std::string& out, int value, int width)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    out += buffer;
}

}  // namespace

const FormatSettings& CurrentFormatSettings() { return MutableSettings(); }

void SetFormatSettings(const FormatSettings& settings) { MutableSettings() = settings; }

std::string FormatFloat(std::string_view pattern, double value)
{
    return FormatFloat(pattern, value, CurrentFormatSettings());
}

std::string FormatFloat(std::string_view pattern, double value, const FormatSettings& settings)
{
    if (!std::isfinite(value)) return NonFinite(value);

    const std::size_t point = pattern.find('.');
    const std::string_view integerPattern = pattern.substr(0, point);
    const std::string_view fractionPattern =
        point == std::string_view::npos ? std::string_view{} : pattern.substr(point + 1);

    int decimals = 0;
    int mandatoryDecimals = 0;
    for (char c : fractionPattern) {
        if (!IsPlaceholder(c)) continue;
        ++decimals;
        if (c == '0') mandatoryDecimals = decimals;
    }

    RoundedDigits digits = RoundDigits(value, decimals);
    const bool negative = value < 0 && !digits.IsZero();
    while (static_cast<int>(digits.fraction.size()) > mandatoryDecimals && digits.fraction.back() == '0')
        digits.fraction.pop_back();

    std::string out = negative ? "-" : "";
    out += FormatIntegerSection(integerPattern, digits.integer);
    out += FormatFractionSection(fractionPattern, digits.fraction, settings.decimalSeparator);
    return out;
}

std::string FormatGeneral(double value, int precision, int exponentDigits)
{
    return FormatGeneral(value, precision, exponentDigits, CurrentFormatSettings());
}

std::string FormatGeneral(double value, int precision, int exponentDigits,
                          const FormatSettings& settings)
{
    if (!std::isfinite(value)) return NonFinite(value);
    if (value == 0) return "0";
    if (precision < 1) precision = 1;

    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, precision - 1).ptr;
    const std::string text(buffer, end);
    const std::size_t e = text.find('e');
    std::string mantissa = text.substr(0, 1) + (e > 2 ? text.substr(2, e - 2) : "");
    const int exponent = std::stoi(text.substr(e + 1));
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    std::string out = value < 0 ? "-" : "";
    if (exponent >= precision || exponent < -4) {
        out += mantissa[0];
        if (mantissa.size() > 1) {
            out += settings.decimalSeparator;
            out += mantissa.substr(1);
        }
        out += 'E';
        if (exponent < 0) out += '-';
        AppendNumber(out, std::abs(exponent), exponentDigits);
    } else if (exponent >= 0) {
        const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= integerDigits) {
            out += mantissa + std::string(integerDigits - mantissa.size(), '0');
        } else {
            out += mantissa.substr(0, integerDigits);
            out += settings.decimalSeparator;
            out += mantissa.substr(integerDigits);
        }
    } else {
        out += '0';
        out += settings.decimalSeparator;
        out += std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    }
    return out;
}

std::string FormatFixed(double value, int decimals)
{
    return FormatFixed(value, decimals, CurrentFormatSettings());
}

std::string FormatFixed(double value, int decimals, const FormatSettings& settings)
{
    if (!std::isfinite(value)) return NonFinite(value);
    if (decimals < 0) decimals = 0;
    const RoundedDigits digits = RoundDigits(value, decimals);
    std::string out = value < 0 && !digits.IsZero() ? "-" : "";
    out += digits.integer.empty() ? "0" : digits.integer;
    if (decimals > 0) {
        out += settings.decimalSeparator;
        out += digits.fraction;
    }
    return out;
}

long long RoundHalfEven(double value) { return std::llrint(value); }

std::string FormatDateTime(std::string_view pattern, TDateTime value)
{
    return FormatDateTime(pattern, value, CurrentFormatSettings());
}

std::string FormatDateTime(std::string_view pattern, TDateTime value, const FormatSettings& settings)
{
    const DateTimeParts t = DecodeDateTime(value);
    std::string out;
    bool afterHour = false;  // an "m" run right after an hour field means minutes
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::size_t run = 1;
        while (i + run < pattern.size()
               && std::tolower(static_cast<unsigned char>(pattern[i + run])) == lower)
            ++run;

        switch (lower) {
        case 'y':
            if (run <= 2) AppendNumber(out, t.year % 100, 2);
            else AppendNumber(out, t.year, 4);
            afterHour = false;
            break;
        case 'm':
            if (afterHour && run <= 2) {
                AppendNumber(out, t.minute, static_cast<int>(run));
            } else if (run >= 3) {
                out += settings.shortMonthNames[static_cast<std::size_t>(t.month - 1)];
            } else {
                AppendNumber(out, t.month, static_cast<int>(run));
            }
            afterHour = false;
            break;
        case 'd':
            AppendNumber(out, t.day, run >= 2 ? 2 : 1);
            afterHour = false;
            break;
        case 'h':
            AppendNumber(out, t.hour, run >= 2 ? 2 : 1);
            afterHour = true;
            break;
        case 'n':
            AppendNumber(out, t.minute, run >= 2 ? 2 : 1);
            afterHour = false;
            break;
        case 's':
            AppendNumber(out, t.second, run >= 2 ? 2 : 1);
            afterHour = false;
            break;
        case 'z':
            AppendNumber(out, t.millisecond, run >= 3 ? 3 : 1);
            afterHour = false;
            break;
        case ':':
            out.append(run, settings.timeSeparator);
            break;
        case '/':
            out.append(run, settings.dateSeparator);
            break;
        default:
            out.append(pattern.substr(i, run));
            break;
        }
        i += run;
    }
    return out;
}

}  // namespace gasmixer
