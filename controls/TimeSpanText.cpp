#include "controls/TimeSpanText.h"

#include "common/DateTime.h"
#include "controls/NumberText.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace gasmixer {
namespace {

constexpr double MillisecondsPerDay = SecondsPerDay * 1000.0;

std::optional<double> ParseCount(std::string_view text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return ParseReal(text, '.');
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        fields.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return fields;
        start = end + 1;
    }
}

}  // namespace

std::string TimeSpanText(double days, const FormatSettings& settings)
{
    if (!std::isfinite(days)) throw std::domain_error("Error invalid Time Span");
    if (days < 0) throw std::domain_error("Error no negative Time Span allowed");

    double wholeDays = std::floor(days);
    long long ms = std::llround((days - wholeDays) * MillisecondsPerDay);
    if (ms >= static_cast<long long>(MillisecondsPerDay)) {
        wholeDays += 1;
        ms = 0;
    }

    std::string text;
    if (wholeDays > 0) text = FormatFixed(wholeDays, 0, settings) + ".";
    if (ms > 0 || wholeDays > 0) {
        char time[32];
        std::snprintf(time, sizeof time, "%02lld%c%02lld%c%02lld%c%03lld", ms / 3600000,
                      settings.timeSeparator, ms / 60000 % 60, settings.timeSeparator,
                      ms / 1000 % 60, settings.decimalSeparator, ms % 1000);
        text += time;
    }
    return text;
}

std::optional<double> ParseTimeSpan(std::string_view text, const FormatSettings& settings)
{
    double days = 0;
    const std::size_t firstTimeSeparator = text.find(settings.timeSeparator);
    const std::size_t dayEnd = text.substr(0, firstTimeSeparator).find('.');
    if (firstTimeSeparator != std::string_view::npos && dayEnd != std::string_view::npos) {
        const auto count = ParseCount(text.substr(0, dayEnd));
        if (!count) return std::nullopt;
        days = *count;
        text.remove_prefix(dayEnd + 1);
    }

    const std::vector<std::string_view> fields = Split(text, settings.timeSeparator);
    if (fields.size() > 3) return std::nullopt;
    const std::string_view secondsText = fields.back();
    if (secondsText.find_first_of("+-eE") != std::string_view::npos) return std::nullopt;
    const auto seconds = ParseReal(secondsText, settings.decimalSeparator);
    if (!seconds) return std::nullopt;

    double secondsTotal = *seconds;
    double unit = 60;
    for (auto field = fields.rbegin() + 1; field != fields.rend(); ++field, unit *= 60) {
        const auto count = ParseCount(*field);
        if (!count) return std::nullopt;
        secondsTotal += *count * unit;
    }
    return days + secondsTotal / SecondsPerDay;
}

}  // namespace gasmixer
