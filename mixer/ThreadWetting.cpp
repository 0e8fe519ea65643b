#include "mixer/ThreadWetting.h"

#include "humidity/ThermistorCount.h"
#include "humidity/WettingTrace.h"
#include "instruments/RelayBoard.h"
#include "mixer/RelayLine.h"

#include <optional>

namespace gasmixer {
namespace {

constexpr std::uint8_t WetPattern = 19;  // V1, V2, V5: gas B through the bubbler
constexpr std::uint8_t DryPattern = 24;  // V4, V5
constexpr std::uint32_t PhaseCheckMs = 25;
constexpr double NoReadingTemperature = 20.0;  // ºC

}  // namespace

TThreadWetting::TThreadWetting(WorkerTiming& timing, RelayLine& relayBoard)
    : StartTime(timing.Elapsed()), timing_(timing), relayBoard_(relayBoard)
{
}

TThreadWetting::~TThreadWetting()
{
    RequestStop();
    if (thread_.joinable()) thread_.join();
}

void TThreadWetting::Start()
{
    thread_ = std::thread([this] { Execute(); });
}

void TThreadWetting::RequestStop()
{
    const std::lock_guard lock(mutex_);
    stopRequest_ = true;
}

bool TThreadWetting::WaitStopped(std::chrono::milliseconds wait)
{
    std::unique_lock lock(mutex_);
    return stopped_.wait_for(lock, wait, [this] { return results_.Stopped; });
}

TWettingResults TThreadWetting::TakeResults()
{
    const std::lock_guard lock(mutex_);
    TWettingResults taken = results_;
    results_.Trace.clear();
    return taken;
}

void TThreadWetting::Execute()
{
    Stop = false;
    Counter = 0;
    OccuredWETTotalTimeS = 0.0;
    double wetStart = timing_.Elapsed();
    double wetEnd = wetStart;
    // None yet: the first reading ends the first cycle.
    std::optional<double> lastReading;
    WETSkip = false;
    DRYSkip = false;
    while (!Stop) {
        ++Counter;
        const double cycleStart = timing_.Elapsed();
        // A skipped dry phase left the wet pattern on: the bubbler stayed
        // in line until now, and stays so through the hand-over.
        const bool wetStillOn = DRYSkip;
        if (wetStillOn) wetEnd = cycleStart;
        TakeCycle(NextWettingCycle(
            {StartTime, wetStart, wetEnd, OccuredWETTotalTimeS, LoopTimeS, DesiredWETFractionOfTime},
            cycleStart));
        UpdateResults();

        wetStart = wetStillOn ? cycleStart : timing_.Elapsed();
        if (!WETSkip) {
            relayBoard_.SendValves(WetPattern);
            HoldPhase(wetStart, WETPulseIntendedS);
        }
        wetEnd = timing_.Elapsed();
        if (!DRYSkip) {
            relayBoard_.SendValves(DryPattern);
            HoldPhase(wetEnd, DRYPulseIntendedS);
        }

        if (!lastReading || timing_.Elapsed() > *lastReading + TemperatureTimer) {
            Temperature = GetTemp();
            // A failed reading stays due for the next cycle.
            if (Temperature > 0.0) lastReading = timing_.Elapsed();
        } else {
            Temperature = NoReadingTemperature;
        }
    }
    HasStopped = true;
    UpdateResults();
}

void TThreadWetting::HoldPhase(double start, double lengthS)
{
    while ((timing_.Elapsed() - start) * SecondsPerDay < lengthS) timing_.Sleep(PhaseCheckMs);
}

double TThreadWetting::GetTemp() { return WettingTemperatureOfCount(AnalogCount(relayBoard_.ReadAnalog())); }

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

void TThreadWetting::UpdateResults()
{
    const std::lock_guard lock(mutex_);
    Stop = stopRequest_;
    results_.WetTimeOccurred = OccuredWETTotalTimeS;
    results_.Trace.push_back(WettingTraceLine(Counter, Stop, HasStopped, CycleFields()));
    // Last: the stop is acknowledged with everything it hands over.
    results_.Stopped = HasStopped;
    if (HasStopped) stopped_.notify_all();
}

}  // namespace gasmixer
