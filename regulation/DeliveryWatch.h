#pragma once

#include <deque>
#include <optional>
#include <string>

// Watches the delivery of one gas while a mixture runs: what its totalizer
// says passed in the last minute against what the running method should
// have passed, the constant setpoint or the pulsed gas's planned flow. A
// supply that ran out shows as a shortfall within a minute or two; it clears
// once a whole minute is delivered again. A pulsed gas so slow that a minute
// asks for less than two pulses is judged over as many whole minutes as
// ask for two: a shortfall must exceed one pulse to count.

namespace gasmixer {

// Short by more than this share of the minute's planned delivery...
inline constexpr double DeliveryShortShare = 0.10;
// ...over a window of at least a minute.

// A change of the alarm, with its line for the operator.
struct TDeliveryChange {
    bool Short = false;
    std::string Line;  // "Gas A delivery short: 0.000 000 g of 0.034 500 g in the last minute"
};

class TDeliveryWatch {
public:
    explicit TDeliveryWatch(char gas) : gas_(gas) {}

    // A new mixture: the totalizer starts again, so does the window. An alarm
    // stands until a whole minute of the new mixture says otherwise.
    void Restart();
    // No mixture runs: nothing is expected, and an alarm ends without a line.
    // True when an alarm ended.
    bool End();

    // One totalizer reading: `now` in monotonic days, `delivered` in g since
    // the reset (NaN when unread: no shortfall, and no sample), `flow` the
    // planned g/min, `tolerance` the grams a pulse may lag by.
    std::optional<TDeliveryChange> Observe(double now, double delivered, double flow, double tolerance);

    bool Short() const { return short_; }
    char Gas() const { return gas_; }

private:
    struct Sample {
        double Time;
        double Delivered;
    };

    // Whole minutes, in days, over which a shortfall can exceed the tolerance.
    static double WindowFor(double flow, double tolerance);

    char gas_;
    std::deque<Sample> samples_;
    bool short_ = false;
};

}  // namespace gasmixer
