#include "controls/KeyFilter.h"

namespace gasmixer {
namespace {

// Backspace and Ctrl+A, C, V, X, Z.
bool IsEditingControl(char32_t c)
{
    return c == BackspaceChar || c == 1 || c == 3 || c == 22 || c == 24 || c == 26;
}

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

}  // namespace

bool IsIntegerEditChar(char32_t c) { return IsDigit(c) || c == U'-' || IsEditingControl(c); }

bool IsRealEditChar(char32_t c, const FormatSettings& settings, bool dateOrTime,
                    std::u32string_view designatorChars)
{
    if (IsDigit(c) || IsEditingControl(c)) return true;
    if (c == U'+' || c == U'-' || c == U'E' || c == U'e' || c == U'.') return true;
    if (c == static_cast<unsigned char>(settings.decimalSeparator)) return true;
    if (!dateOrTime) return false;
    return c == U' ' || c == static_cast<unsigned char>(settings.dateSeparator)
        || c == static_cast<unsigned char>(settings.timeSeparator)
        || designatorChars.find(c) != std::u32string_view::npos;
}

}  // namespace gasmixer
