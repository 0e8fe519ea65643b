#pragma once

#include <optional>
#include <string_view>

namespace gasmixer {

// Decimal 32-bit integer, optional sign, surrounding blanks ignored.
std::optional<int> ParseInteger(std::string_view text);

// Finite floating-point number written with the given decimal separator,
// exponent allowed ("1E-3"), surrounding blanks ignored.
std::optional<double> ParseReal(std::string_view text, char decimalSeparator);

}  // namespace gasmixer
