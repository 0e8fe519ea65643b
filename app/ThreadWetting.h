#pragma once

#include "common/DateTime.h"
#include "common/WorkerTiming.h"
#include "humidity/WettingCycle.h"

#include <QThread>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace gasmixer {

class TSerialPort;

// The window's values that the worker's results are handed to, and where its
// trace lines go. Touched on the window thread only.
struct TWettingWindowValues {
    bool& WettingStopRequest;
    bool& WettingStopped;
    double& WetTimeOccurred;  // s
    std::function<void(const std::string&)> AppendTrace;
};

// The worker that pulses the bubbler valves for the humidified methods.
// Its fields meet the window's values only in UpdateResults, which runs on
// the window thread while the worker waits for it; the window never touches
// them otherwise while the worker runs.
class TThreadWetting : public QThread {
    Q_OBJECT
public:
    // Created suspended: start() runs Execute.
    TThreadWetting(WorkerTiming& timing, TWettingWindowValues window);
    // Waits until the worker's body has returned. The worker waits for the
    // window thread once a cycle, so the owner must have it stop first.
    ~TThreadWetting() override;

    bool Stop = false;
    bool HasStopped = false;
    double LoopTimeS = 6.0;
    double TemperatureTimer = OneMinute;  // days between two temperature readings
    double DesiredWETFractionOfTime = 0.0;
    TDateTime StartTime = 0.0;
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
    std::string SolenoidPortASTR;
    std::int32_t Counter = 0;

    // Runs on the window thread: takes the stop request, gives the stop
    // acknowledgement and the wet time, and writes the cycle's trace line.
    void UpdateResults();
    // The water temperature in ºC on the worker's own port; 0 without one.
    double GetTemp(TSerialPort& Port);

protected:
    void run() override;
    void Execute();

signals:
    // Emitted by the worker; the hand-over runs on the window thread.
    void HandOverRequested();

private:
    void TakeCycle(const TWettingCycle& cycle);
    TWettingCycle CycleFields() const;
    // Runs UpdateResults on the window thread and waits until it has run.
    void Synchronize();
    // The window-thread side of Synchronize.
    void HandOver();
    // Sleeps in steps until `lengthS` seconds have passed since `start`.
    void HoldPhase(TDateTime start, double lengthS);

    WorkerTiming& timing_;
    TWettingWindowValues window_;
    std::mutex handOverMutex_;
    std::condition_variable handOverDone_;
    bool handedOver_ = false;
};

}  // namespace gasmixer
