#include "regulation/DeliveryWatch.h"

#include "common/DateTime.h"
#include "common/TextFormat.h"

#include <algorithm>
#include <cmath>

namespace gasmixer {

void TDeliveryWatch::Restart() { samples_.clear(); }

bool TDeliveryWatch::End()
{
    samples_.clear();
    const bool ended = short_;
    short_ = false;
    return ended;
}

double TDeliveryWatch::WindowFor(double flow, double tolerance)
{
    const double minutes = flow > 0 ? std::max(1.0, std::ceil(2 * tolerance / flow)) : 1.0;
    return minutes * OneMinute;
}

std::optional<TDeliveryChange> TDeliveryWatch::Observe(double now, double delivered, double flow, double tolerance)
{
    if (!std::isfinite(delivered)) return std::nullopt;
    samples_.push_back({now, delivered});
    const double window = WindowFor(flow, tolerance);
    // The base is the latest sample a whole window old; those before it are spent.
    while (samples_.size() > 1 && samples_[1].Time <= now - window) samples_.pop_front();
    const Sample& base = samples_.front();
    if (base.Time > now - window) return std::nullopt;

    const double expected = (now - base.Time) / OneMinute * flow;
    const double passed = delivered - base.Delivered;
    const double shortfall = expected - passed;
    const bool isShort = shortfall > DeliveryShortShare * expected && shortfall > tolerance;
    if (isShort == short_) return std::nullopt;
    short_ = isShort;
    const std::string gas = std::string("Gas ") + gas_ + " delivery ";
    if (!isShort) return TDeliveryChange{false, gas + "recovered"};
    const long minutes = std::lround(window / OneMinute);
    return TDeliveryChange{true, gas + "short: " + FormatFloat("0.000 000", passed) + " g of " +
                                     FormatFloat("0.000 000", expected) + " g in the last " +
                                     (minutes == 1 ? std::string("minute") : std::to_string(minutes) + " minutes")};
}

}  // namespace gasmixer
