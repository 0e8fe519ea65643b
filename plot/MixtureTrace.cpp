#include "plot/MixtureTrace.h"

#include <algorithm>

namespace gasmixer {

namespace {
constexpr const char* ResetLabel = "Reset";
}  // namespace

TDateTime TMixtureTrace::InOrder(TDateTime time)
{
    if (latest_ && time < *latest_) time = *latest_;
    latest_ = time;
    return time;
}

void TMixtureTrace::AddRecord(TDateTime time, std::string_view mode, double aPpm, double h2oPpm)
{
    time = InOrder(time);
    if (samples_.empty() || mode != lastMode_) {
        markers_.push_back({time, std::string(mode)});
        lastMode_ = mode;
    }
    samples_.push_back({time, aPpm, h2oPpm});
    SummariseRow(blocks_, samples_.size() - 1, samples_.back());
    resetOpen_ = false;
}

void TMixtureTrace::AddReset(TDateTime time)
{
    time = InOrder(time);
    if (resetOpen_) {
        markers_.back().Time = time;
        return;
    }
    markers_.push_back({time, ResetLabel});
    resetOpen_ = true;
}

void TMixtureTrace::AddMarker(TDateTime time, std::string label)
{
    markers_.push_back({InOrder(time), std::move(label)});
    // A reset after it gets a marker of its own.
    resetOpen_ = false;
}

std::optional<TTimeExtent> TMixtureTrace::Extent() const
{
    if (samples_.empty() && markers_.empty()) return std::nullopt;
    // Both lists are in time order, and at least one is filled.
    TTimeExtent extent{*latest_, *latest_};
    if (!samples_.empty()) extent.First = samples_.front().Time;
    if (!markers_.empty()) extent.First = std::min(extent.First, markers_.front().Time);
    return extent;
}

}  // namespace gasmixer
