#include "controls/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace gasmixer {

std::string FitText(int digits, double value)
{
    if (digits <= 0) return FormatGeneral(value);
    std::string text = FormatGeneral(value, digits, 4);
    for (int precision = digits - 1;
         precision >= 1 && text.size() > static_cast<std::size_t>(digits); --precision)
        text = FormatGeneral(value, precision, 0);
    return text;
}

std::string FixedText(double value, int decimals, const FormatSettings& settings)
{
    if (decimals < 0) decimals = 0;
    if (!std::isfinite(value) || value == 0) return FormatFixed(value, decimals, settings);

    // The decimal exponent of the leading digit once rounded to the kept digits.
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, MaxSignificantDigits - 1).ptr;
    const std::string scientific(buffer, end);
    const std::size_t e = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + e + 1);

    const int keptDecimals = MaxSignificantDigits - 1 - exponent;
    if (keptDecimals >= decimals) return FormatFixed(value, decimals, settings);

    std::string text;
    if (keptDecimals >= 0) {
        text = FormatFixed(value, keptDecimals, settings);
    } else {
        // Beyond 2^53 every double is an integer and no tie can fall on the
        // last kept digit, so the scientific digits are rounded correctly.
        text = value < 0 ? "-" : "";
        text += scientific[0] + scientific.substr(2, e - 2);
        text.append(static_cast<std::size_t>(-keptDecimals), '0');
    }
    if (keptDecimals <= 0 && decimals > 0) text += settings.decimalSeparator;
    text.append(static_cast<std::size_t>(decimals - std::max(keptDecimals, 0)), '0');
    return text;
}

}  // namespace gasmixer
