#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace gasmixer {

// One column of the produced-mixture table. Cells are always written through
// ColID and Format, never through a fixed column number.
struct RColInfo {
    std::string Caption;
    std::string Format;  // number or time pattern; empty for text cells
    std::int32_t ColID = -1;
    std::int32_t ColW = 0;  // pixels
};

inline constexpr int RecordColumnCount = 20;
using TColumnInfo = std::array<RColInfo, RecordColumnCount>;

// The table's columns as the program starts with them.
const TColumnInfo& DefaultColumnInfo();

// ColID of the column with this caption, or -1.
std::int32_t ColumnIdOf(const TColumnInfo& columns, std::string_view caption);

}  // namespace gasmixer
