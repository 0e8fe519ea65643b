#include "common/NumberParse.h"

#include <charconv>
#include <cmath>
#include <string>

namespace gasmixer {
namespace {

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// from_chars takes no leading '+'.
std::string_view WithoutPlus(std::string_view text)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
}

}  // namespace

std::optional<int> ParseInteger(std::string_view text)
{
    text = WithoutPlus(TrimBlanks(text));
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> ParseReal(std::string_view text, char decimalSeparator)
{
    std::string normalised(WithoutPlus(TrimBlanks(text)));
    if (decimalSeparator != '.') {
        if (normalised.find('.') != std::string::npos) return std::nullopt;
        for (char& c : normalised)
            if (c == decimalSeparator) c = '.';
    }
    // from_chars would also read "inf", "nan" and hexadecimal digits.
    if (normalised.find_first_not_of("0123456789.eE+-") != std::string::npos)
        return std::nullopt;
    double value = 0;
    const char* last = normalised.data() + normalised.size();
    const auto [end, error] = std::from_chars(normalised.data(), last, value);
    if (normalised.empty() || error != std::errc{} || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace gasmixer
