#pragma once

#include "common/DateTime.h"
#include "plot/MixtureSample.h"
#include "plot/SampleBlocks.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gasmixer {

// A vertical line with a name: where the mode changed, the planner reset or
// an alarm rose.
struct TPlotMarker {
    TDateTime Time = 0.0;
    std::string Label;
};

struct TTimeExtent {
    TDateTime First = 0.0;
    TDateTime Last = 0.0;
};

// Everything the mixture plot shows over time, as plain values. Times never
// go back: a row stamped earlier than the one before (the wall clock was set
// back) is kept at its predecessor's time, so the rows stay sorted.
class TMixtureTrace {
public:
    // A stored row; NaN ppm for an empty cell. Its mode gets a marker when it
    // differs from the previous row's, and the first row always gets one.
    void AddRecord(TDateTime time, std::string_view mode, double aPpm, double h2oPpm);

    // The planner's "Reset" row. Resets with no stored row between them (one
    // per preview while the operator types) share one marker at the latest.
    void AddReset(TDateTime time);
    // Any other event worth a line of its own, such as an alarm.
    void AddMarker(TDateTime time, std::string label);

    const std::vector<TMixtureSample>& Samples() const { return samples_; }
    const std::vector<TSampleBlock>& Blocks() const { return blocks_; }
    const std::vector<TPlotMarker>& Markers() const { return markers_; }

    // From the earliest to the latest row or marker; nothing when both are empty.
    std::optional<TTimeExtent> Extent() const;

private:
    TDateTime InOrder(TDateTime time);

    std::vector<TMixtureSample> samples_;
    std::vector<TSampleBlock> blocks_;
    std::vector<TPlotMarker> markers_;
    std::string lastMode_;
    bool resetOpen_ = false;
    std::optional<TDateTime> latest_;
};

}  // namespace gasmixer
