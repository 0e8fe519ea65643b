#pragma once

#include "common/DateTime.h"
#include "common/WorkerTiming.h"
#include "humidity/WettingCycle.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gasmixer {

class RelayLine;

// What the worker has handed over since it was last asked.
struct TWettingResults {
    double WetTimeOccurred = 0.0;  // s, the worker's OccuredWETTotalTimeS
    bool Stopped = false;          // its loop has ended and its last hand-over is in
    std::vector<std::string> Trace;  // one line a hand-over, oldest first
};

// The worker that pulses the bubbler valves for the humidified methods.
// Its fields are its own while it runs; they meet the run's values only in
// UpdateResults, once a cycle, under a lock. The worker never waits for
// another thread: the run picks the results up when it needs them.
class TThreadWetting {
public:
    // Created suspended: Start runs Execute on a thread of its own.
    TThreadWetting(WorkerTiming& timing, RelayLine& relayBoard);
    // Asks the worker to stop and waits until its body has returned.
    ~TThreadWetting();
    TThreadWetting(const TThreadWetting&) = delete;
    TThreadWetting& operator=(const TThreadWetting&) = delete;

    void Start();

    // Any thread. The request is taken at the next cycle's hand-over.
    void RequestStop();
    // True once the worker's last hand-over is in; waits at most `wait`.
    bool WaitStopped(std::chrono::milliseconds wait);
    // The wet time so far and the trace lines since the last call.
    TWettingResults TakeResults();

    // Set before Start; the worker's own afterwards.
    bool Stop = false;
    bool HasStopped = false;
    double LoopTimeS = 6.0;
    double TemperatureTimer = OneMinute;  // days between two temperature readings
    double DesiredWETFractionOfTime = 0.0;
    double StartTime = 0.0;  // days on the monotonic clock
    double TotalElapsedTimeS = 0.0;
    double DesiredWETTotalTimeS = 0.0;
    double OccuredWETTotalTimeS = 0.0;
    double ErrorWETTotalTimeS = 0.0;
    double WETPulseIntendedS = 0.0;
    double WETPulseOccurredS = 0.0;
    double DRYPulseIntendedS = 0.0;
    bool WETSkip = false;
    bool DRYSkip = false;
    double Temperature = 0.0;  // ºC
    std::int32_t Counter = 0;

    // The water temperature in ºC; 0 without an answer.
    double GetTemp();

private:
    void Execute();
    // Worker side of the hand-over: takes the stop request, gives the stop
    // acknowledgement, the wet time and the cycle's trace line.
    void UpdateResults();
    void TakeCycle(const TWettingCycle& cycle);
    TWettingCycle CycleFields() const;
    // Sleeps in steps until `lengthS` seconds have passed since `start`.
    void HoldPhase(double start, double lengthS);

    WorkerTiming& timing_;
    RelayLine& relayBoard_;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopRequest_ = false;
    TWettingResults results_;
};

}  // namespace gasmixer
