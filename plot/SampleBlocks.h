#pragma once

#include "plot/MixtureSample.h"

#include <array>
#include <cstddef>
#include <vector>

namespace gasmixer {

// Rows are summarised in fixed blocks, so that a pixel column spanning
// thousands of rows is reduced from its blocks instead of row by row.
inline constexpr std::size_t SampleBlockRows = 32;

// One field over one block: where its extremes are, and whether a cell of
// it is empty (such a block is read row by row).
struct TFieldSummary {
    std::size_t MinRow = 0;
    std::size_t MaxRow = 0;
    double Min = 0.0;
    double Max = 0.0;
    bool HasGap = false;
};

// Block k covers rows k * SampleBlockRows to (k + 1) * SampleBlockRows - 1.
struct TSampleBlock {
    TDateTime LastTime = 0.0;  // read instead of the row, which lies far apart
    std::array<TFieldSummary, 2> Fields;

    const TFieldSummary& Of(TMixtureField field) const { return Fields[static_cast<std::size_t>(field)]; }
};

// Takes row number `row` (the rows before it are summarised) into the blocks.
void SummariseRow(std::vector<TSampleBlock>& blocks, std::size_t row, const TMixtureSample& sample);

}  // namespace gasmixer
