#pragma once

#include "common/DateTime.h"
#include "common/MonotonicClock.h"

#include <mutex>

namespace gasmixer {

// The wall clock and the monotonic clock, stepped by hand from any thread.
// Time passing moves both; the wall clock alone can jump, as daylight
// saving and time syncs make it.
class ManualClock final : public Clock, public MonotonicClock {
public:
    // The monotonic clock starts at 0.
    explicit ManualClock(TDateTime start) : wall_(start) {}

    TDateTime Now() const override
    {
        const std::lock_guard lock(mutex_);
        return wall_;
    }

    double Elapsed() const override
    {
        const std::lock_guard lock(mutex_);
        return elapsed_;
    }

    void Advance(double days)
    {
        const std::lock_guard lock(mutex_);
        wall_ += days;
        elapsed_ += days;
    }

    // Forward, time passes; back, the wall clock is set back and no time passes.
    void Set(TDateTime value)
    {
        const std::lock_guard lock(mutex_);
        if (value > wall_) elapsed_ += value - wall_;
        wall_ = value;
    }

    // The wall clock alone, either way.
    void JumpWall(double days)
    {
        const std::lock_guard lock(mutex_);
        wall_ += days;
    }

private:
    mutable std::mutex mutex_;
    TDateTime wall_;
    double elapsed_ = 0.0;
};

}  // namespace gasmixer
