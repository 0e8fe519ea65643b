#pragma once

#include <chrono>

namespace gasmixer {

// Days since an arbitrary origin, on a clock that never jumps: what every
// duration and elapsed time is taken from. It is never a time of day; the
// wall clock, which daylight saving and time syncs move, is for what a
// person reads.
class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual double Elapsed() const = 0;
};

class SystemMonotonicClock final : public MonotonicClock {
public:
    double Elapsed() const override
    {
        using Days = std::chrono::duration<double, std::ratio<86400>>;
        return std::chrono::duration_cast<Days>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }

    static const SystemMonotonicClock& Instance()
    {
        static const SystemMonotonicClock clock;
        return clock;
    }
};

}  // namespace gasmixer
