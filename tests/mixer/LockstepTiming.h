#pragma once

#include "common/ManualClock.h"
#include "common/WorkerTiming.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

namespace gasmixer::test {

// The wetting worker on the test's own clock. Its sleeps last until the test
// has moved the clock past their end, and each step of the test returns once
// the worker sleeps again, so worker, tick and instruments share one time and
// every step ends at the same point however the threads are scheduled.
class LockstepTiming final : public WorkerTiming {
public:
    explicit LockstepTiming(ManualClock& clock) : clock_(clock) {}

    double Elapsed() const override { return clock_.Elapsed(); }

    void Sleep(std::uint32_t ms) override
    {
        std::unique_lock lock(mutex_);
        const double days = ms / 86'400'000.0;
        if (released_) {
            clock_.Advance(days);
            if (releasedInRealTime_) {
                lock.unlock();
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            }
            return;
        }
        const double until = clock_.Elapsed() + days;
        asleepUntil_ = until;
        changed_.notify_all();
        changed_.wait(lock, [&] { return released_ || clock_.Elapsed() >= until; });
        asleepUntil_.reset();
    }

    // Moves the clock; while a worker runs, returns when it sleeps again.
    void Advance(double days, const std::function<bool()>& workerRuns)
    {
        std::unique_lock lock(mutex_);
        clock_.Advance(days);
        changed_.notify_all();
        const auto patience = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        // The worker's end tells nothing here: look again now and then.
        while (workerRuns() && !(asleepUntil_ && *asleepUntil_ > clock_.Elapsed())) {
            if (std::chrono::steady_clock::now() > patience)
                throw std::runtime_error("the wetting worker did not sleep again");
            changed_.wait_for(lock, std::chrono::milliseconds(10));
        }
    }

    // From now on the worker's sleeps step the clock themselves, so that it
    // can finish its cycle and end without the test; in real time, they
    // also last as long, and the worker cannot run the clock away.
    void Release(bool inRealTime = false)
    {
        const std::lock_guard lock(mutex_);
        released_ = true;
        releasedInRealTime_ = inRealTime;
        changed_.notify_all();
    }

private:
    ManualClock& clock_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<double> asleepUntil_;
    bool released_ = false;
    bool releasedInRealTime_ = false;
};

}  // namespace gasmixer::test
