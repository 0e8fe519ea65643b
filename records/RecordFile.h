#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The saved table's text: a short header, the plan text, a separator line,
// then one line per grid row with ";" between cells. Every line ends with
// CR LF; the bytes are Latin-1 ("º" is 0xBA), and a character outside
// Latin-1 is written as "?".

namespace gasmixer {

inline constexpr std::string_view RecordFileFirstLine = "Data starts after *** line";
inline constexpr std::string_view RecordFileSeparatorLine = "*********";

// UTF-8 text as Latin-1 bytes; other characters and broken sequences give "?".
std::string ToLatin1(std::string_view utf8);

// A cell holding a character from code 1 to 32, a double quote or ";" is
// enclosed in double quotes with its inner quotes doubled.
std::string QuoteCell(std::string_view cell);

// The lines before the table: the first line, the plan text and the separator.
std::string RecordFilePreamble(std::string_view planText);

// One grid row as a file line. The header row is written as it is; data
// rows lose all blanks after quoting.
std::string RecordFileLine(std::span<const std::string> cells, bool headerRow);
// The same line written at `out`, which has room for the bound, for writing
// many rows without copies; returns the line's end.
std::size_t RecordFileLineBound(std::span<const std::string_view> cells);
char* WriteRecordFileLine(char* out, std::span<const std::string_view> cells, bool headerRow);

}  // namespace gasmixer
