#pragma once

#include "common/TextFormat.h"

#include <string_view>

// Which typed characters the numeric fields let through. Position is not
// checked: "1-2" can be typed, it simply does not parse.

namespace gasmixer {

inline constexpr char32_t BackspaceChar = 8;
inline constexpr char32_t EnterChar = 13;

bool IsIntegerEditChar(char32_t c);

// designatorChars: the characters of the locale's AM and PM designators,
// accepted with the date and time characters when dateOrTime is set.
bool IsRealEditChar(char32_t c, const FormatSettings& settings, bool dateOrTime,
                    std::u32string_view designatorChars);

}  // namespace gasmixer
