#pragma once

#include "common/MonotonicClock.h"
#include "common/Pause.h"

#include <cstdint>

namespace gasmixer {

// The elapsed time and the fixed sleeps of a worker thread. Tests substitute
// one whose sleeps step its clock, so that a worker's seconds pass at once.
// Used from the worker thread while it runs.
class WorkerTiming : public MonotonicClock {
public:
    virtual void Sleep(std::uint32_t ms) = 0;
};

class SystemWorkerTiming final : public WorkerTiming {
public:
    double Elapsed() const override { return SystemMonotonicClock::Instance().Elapsed(); }
    void Sleep(std::uint32_t ms) override { Pause(ms); }

    static SystemWorkerTiming& Instance()
    {
        static SystemWorkerTiming timing;
        return timing;
    }
};

}  // namespace gasmixer
