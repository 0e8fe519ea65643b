#pragma once

#include "common/WorkerTiming.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace gasmixer::test {

// A worker's idealised time: only its sleeps move the clock, so exchanges
// take no time and seconds pass at once. Every sleep lasts a microsecond
// longer than asked, as real sleeps never end early; that also keeps phase
// ends off the exact boundaries where the day-count rounding would decide. The worker can be held in the sleep
// that would carry the clock past a given time, and let go by the test.
class SteppedTiming final : public WorkerTiming {
public:
    // Starts at day 0, where the day-count clock is at its finest.
    double Elapsed() const override
    {
        const std::lock_guard lock(mutex_);
        return static_cast<double>(elapsedUs_) / 86400000000.0;
    }

    void Sleep(std::uint32_t ms) override
    {
        std::unique_lock lock(mutex_);
        const std::uint64_t step = ms * 1000ull + 1;
        while (holdAtUs_ && elapsedUs_ + step > *holdAtUs_) {
            held_ = true;
            changed_.notify_all();
            changed_.wait(lock);
        }
        held_ = false;
        elapsedUs_ += step;
    }

    // Also moves a hold the worker waits at: it goes on to the new one.
    void HoldAt(double seconds)
    {
        const std::lock_guard lock(mutex_);
        holdAtUs_ = static_cast<std::uint64_t>(seconds * 1e6);
        held_ = false;
        changed_.notify_all();
    }

    void Release()
    {
        const std::lock_guard lock(mutex_);
        holdAtUs_.reset();
        held_ = false;
        changed_.notify_all();
    }

    // The worker waits in a sleep; what it wrote before is visible to the caller.
    bool Held() const
    {
        const std::lock_guard lock(mutex_);
        return held_;
    }

    // Back to 0 for the next worker; only while none runs.
    void Restart()
    {
        const std::lock_guard lock(mutex_);
        elapsedUs_ = 0;
        holdAtUs_.reset();
        held_ = false;
    }

    double Seconds() const
    {
        const std::lock_guard lock(mutex_);
        return static_cast<double>(elapsedUs_) / 1e6;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t elapsedUs_ = 0;
    std::optional<std::uint64_t> holdAtUs_;
    bool held_ = false;
};

}  // namespace gasmixer::test
