#pragma once

#include "plot/MixtureSample.h"

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
// The cost is one pass over the visible rows; the result has at most a few
// points per column however many rows there are.
std::vector<TPlotPoint> DecimateMinMax(std::span<const TMixtureSample> rows,
                                       double TMixtureSample::*field, TPixelColumns columns);

}  // namespace gasmixer
