#include "app/ThreadWetting.h"

#include "humidity/ThermistorCount.h"
#include "humidity/WettingTrace.h"
#include "instruments/RelayBoard.h"

#include <optional>

namespace gasmixer {
namespace {

constexpr std::uint8_t WetPattern = 19;  // V1, V2, V5: gas B through the bubbler
constexpr std::uint8_t DryPattern = 24;  // V4, V5
constexpr std::uint32_t PhaseCheckMs = 25;
constexpr double NoReadingTemperature = 20.0;  // ºC

}  // namespace

TThreadWetting::TThreadWetting(WorkerTiming& timing, TWettingWindowValues window)
    : StartTime(timing.Now()), timing_(timing), window_(std::move(window))
{
    // The slot is made here, on the window thread, so the worker writes
    // nothing that the window thread reads but through the lock below.
    connect(this, &TThreadWetting::HandOverRequested, this, &TThreadWetting::HandOver, Qt::QueuedConnection);
}

TThreadWetting::~TThreadWetting()
{
    wait();
    // The sanitizer cannot see Qt's join: take the lock the worker released last.
    const std::lock_guard lock(handOverMutex_);
}

void TThreadWetting::run() { Execute(); }

void TThreadWetting::Execute()
{
    Stop = false;
    Counter = 0;
    OccuredWETTotalTimeS = 0.0;
    {
        TSerialPort port;
        port.Port = SolenoidPortASTR;
        ApplyRelayBoardSettings(port);
        TDateTime wetStart = timing_.Now();
        TDateTime wetEnd = wetStart;
        // None yet: the first reading ends the first cycle.
        std::optional<TDateTime> lastReading;
        WETSkip = false;
        DRYSkip = false;
        while (!Stop) {
            ++Counter;
            const TDateTime cycleStart = timing_.Now();
            // A skipped dry phase left the wet pattern on: the bubbler stayed
            // in line until now, and stays so through the hand-over.
            const bool wetStillOn = DRYSkip;
            if (wetStillOn) wetEnd = cycleStart;
            TakeCycle(NextWettingCycle(
                {StartTime, wetStart, wetEnd, OccuredWETTotalTimeS, LoopTimeS, DesiredWETFractionOfTime},
                cycleStart));
            Synchronize();

            wetStart = wetStillOn ? cycleStart : timing_.Now();
            if (!WETSkip) {
                SendValveCommand(port, WetPattern);
                HoldPhase(wetStart, WETPulseIntendedS);
            }
            wetEnd = timing_.Now();
            if (!DRYSkip) {
                SendValveCommand(port, DryPattern);
                HoldPhase(wetEnd, DRYPulseIntendedS);
            }

            if (!lastReading || timing_.Now() > *lastReading + TemperatureTimer) {
                Temperature = GetTemp(port);
                // A failed reading stays due for the next cycle.
                if (Temperature > 0.0) lastReading = timing_.Now();
            } else {
                Temperature = NoReadingTemperature;
            }
        }
    }
    HasStopped = true;
    Synchronize();
}

void TThreadWetting::HoldPhase(TDateTime start, double lengthS)
{
    while ((timing_.Now() - start) * SecondsPerDay < lengthS) timing_.Sleep(PhaseCheckMs);
}

double TThreadWetting::GetTemp(TSerialPort& Port)
{
    return WettingTemperatureOfCount(AnalogCount(ReadAnalogInput(Port)));
}

void TThreadWetting::TakeCycle(const TWettingCycle& c)
{
    TotalElapsedTimeS = c.TotalElapsedTimeS;
    DesiredWETTotalTimeS = c.DesiredWETTotalTimeS;
    WETPulseOccurredS = c.WETPulseOccurredS;
    OccuredWETTotalTimeS = c.OccuredWETTotalTimeS;
    ErrorWETTotalTimeS = c.ErrorWETTotalTimeS;
    WETPulseIntendedS = c.WETPulseIntendedS;
    DRYPulseIntendedS = c.DRYPulseIntendedS;
    WETSkip = c.WETSkip;
    DRYSkip = c.DRYSkip;
}

TWettingCycle TThreadWetting::CycleFields() const
{
    return {TotalElapsedTimeS, DesiredWETTotalTimeS, WETPulseOccurredS, OccuredWETTotalTimeS,
            ErrorWETTotalTimeS, WETPulseIntendedS, DRYPulseIntendedS, WETSkip, DRYSkip};
}

void TThreadWetting::Synchronize()
{
    // The lock, not Qt's queue, orders the worker's fields against the
    // window's reads and writes, so the sanitizer sees the hand-over.
    std::unique_lock lock(handOverMutex_);
    handedOver_ = false;
    emit HandOverRequested();
    handOverDone_.wait(lock, [this] { return handedOver_; });
}

void TThreadWetting::HandOver()
{
    // The worker goes on even when the trace line cannot be written.
    struct Wake {
        std::condition_variable& done;
        ~Wake() { done.notify_one(); }
    } wake{handOverDone_};
    const std::lock_guard windowSide(handOverMutex_);
    handedOver_ = true;
    UpdateResults();
}

void TThreadWetting::UpdateResults()
{
    Stop = window_.WettingStopRequest;
    window_.WettingStopped = HasStopped;
    window_.WetTimeOccurred = OccuredWETTotalTimeS;
    window_.AppendTrace(WettingTraceLine(Counter, Stop, window_.WettingStopped, CycleFields()));
}

}  // namespace gasmixer
