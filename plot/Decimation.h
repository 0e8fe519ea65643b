#pragma once

#include "plot/MixtureSample.h"
#include "plot/SampleBlocks.h"

#include <span>
#include <vector>

namespace gasmixer {

// The visible time range, split into pixel columns.
struct TPixelColumns {
    double From = 0.0;
    double To = 0.0;
    int Count = 1;
};

// Reduces `rows` (sorted by time) to what a line through one of their fields
// looks like at `columns`: for each pixel column the rows holding its minimum
// and maximum, in time order, plus the first and the last visible row. A run
// of empty cells becomes one NaN point (a break in the line); breaks narrower
// than a column are kept only where a column starts or ends one. The nearest
// row on each side of the range is added so that the line reaches the edges.
// `blocks` summarise the rows (SummariseRow); where a column spans whole
// blocks without an empty cell, their summaries stand in for their rows, so
// the cost grows with the columns far more than with the rows. Without
// blocks every row is read; the result is the same.
std::vector<TPlotPoint> DecimateMinMax(std::span<const TMixtureSample> rows,
                                       std::span<const TSampleBlock> blocks, TMixtureField field,
                                       TPixelColumns columns);

}  // namespace gasmixer
