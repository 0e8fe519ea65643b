#include "controls/DateTimeText.h"

#include "controls/NumberText.h"

#include <vector>

namespace gasmixer {
namespace {

std::optional<std::vector<int>> ParseFields(std::string_view text, char separator,
                                            std::size_t minCount, std::size_t maxCount)
{
    std::vector<int> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        const std::string_view field = text.substr(start, end - start);
        if (field.empty() || field.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        const auto value = ParseInteger(field);
        if (!value) return std::nullopt;
        fields.push_back(*value);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    if (fields.size() < minCount || fields.size() > maxCount) return std::nullopt;
    return fields;
}

}  // namespace

std::string DateTimeText(TDateTime value, const FormatSettings& settings)
{
    const DateTimeParts t = DecodeDateTime(value);
    const bool hasTime = t.hour != 0 || t.minute != 0 || t.second != 0;
    return FormatDateTime(hasTime ? "yyyy/mm/dd hh:nn:ss" : "yyyy/mm/dd", value, settings);
}

std::optional<TDateTime> ParseDateTime(std::string_view text, const FormatSettings& settings)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);

    const std::size_t blank = text.find(' ');
    const auto date = ParseFields(text.substr(0, blank), settings.dateSeparator, 3, 3);
    if (!date) return std::nullopt;
    std::vector<int> time{0, 0, 0};
    if (blank != std::string_view::npos) {
        const auto parsed = ParseFields(text.substr(blank + 1), settings.timeSeparator, 2, 3);
        if (!parsed) return std::nullopt;
        std::copy(parsed->begin(), parsed->end(), time.begin());
    }

    const int year = (*date)[0], month = (*date)[1], day = (*date)[2];
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31
        || time[0] > 23 || time[1] > 59 || time[2] > 59)
        return std::nullopt;
    const TDateTime value = EncodeDateTime(year, month, day, time[0], time[1], time[2]);
    const DateTimeParts check = DecodeDateTime(value);
    if (check.month != month || check.day != day) return std::nullopt;  // e.g. 2023/02/30
    return value;
}

}  // namespace gasmixer
