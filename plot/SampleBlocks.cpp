#include "plot/SampleBlocks.h"

#include <cmath>

namespace gasmixer {

void SummariseRow(std::vector<TSampleBlock>& blocks, std::size_t row, const TMixtureSample& sample)
{
    const bool opens = row % SampleBlockRows == 0;
    if (opens) blocks.emplace_back();
    TSampleBlock& block = blocks.back();
    block.LastTime = sample.Time;
    for (const TMixtureField field : {TMixtureField::APpm, TMixtureField::H2OPpm}) {
        TFieldSummary& s = block.Fields[static_cast<std::size_t>(field)];
        const double v = sample.Value(field);
        if (!std::isfinite(v)) {
            s.HasGap = true;
            continue;
        }
        // The extremes count only in blocks without a gap, whose first row
        // therefore starts them.
        if (opens || v < s.Min) {
            s.Min = v;
            s.MinRow = row;
        }
        if (opens || v > s.Max) {
            s.Max = v;
            s.MaxRow = row;
        }
    }
}

}  // namespace gasmixer
