#pragma once

#include "common/DateTime.h"

#include <QThread>

#include <cstdint>
#include <string>

namespace gasmixer {

// The worker that pulses the bubbler valves for the humidified methods.
// Its fields meet the window's values only in a step run on the window
// thread; the window never touches them while the worker runs otherwise.
class TThreadWetting : public QThread {
public:
    explicit TThreadWetting(const Clock& clock);
    // Destroying the object waits until the worker's body has returned.
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

protected:
    const Clock& clock_;
};

}  // namespace gasmixer
