#pragma once

#include "sim/Announcement.h"
#include "sim/FlowController.h"
#include "sim/MfcLine.h"
#include "sim/RelayBoard.h"
#include "sim/SimulatedLine.h"
#include "sim/UniqueFd.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace gasmixer::sim {

struct SimulatorOptions {
    bool announce = false;  // enter the ports in the simulator registry
    double waterTemperature = 20.0;  // ºC in the bubbler
    bool pacing = true;  // replies take their time on the wire at the line's speed; off for fast tests
    LineTrace trace;  // called on the service thread
    // The instruments' time. Tests that step time give their own, with
    // pacing off: the service never waits for a time of its own then.
    std::function<TimePoint()> clock = [] { return SimClock::now(); };
};

// The simulated instruments on two pseudo-terminals, served by one thread:
// the two flow controllers on the MFC line and the relay board on its own
// line. State and faults of the devices may be set from any thread.
class SimulatorHost {
public:
    explicit SimulatorHost(SimulatorOptions options = {});
    ~SimulatorHost();
    SimulatorHost(const SimulatorHost&) = delete;
    SimulatorHost& operator=(const SimulatorHost&) = delete;

    // A line that vanished and came back has a new path; the announced link follows it.
    std::string MfcLinePath() const { return mfcLine_.SlavePath(); }
    std::string RelayBoardPath() const { return relayLine_.SlavePath(); }

    // Throws std::out_of_range for an address without a controller.
    FlowController& Mfc(int address);
    sim::RelayBoard& RelayBoard() { return relay_; }
    // The instruments' time now.
    TimePoint Now() const { return clock_(); }

    // Brings the lines that vanished back, soon after the call, like a
    // device plugged in again.
    void ReconnectVanishedLines();

    // Stops the service and withdraws the announcement; idempotent.
    void Stop();

private:
    void Serve();
    void Wake();
    void Reconnect(SimulatedLine& line, const char* linkName);

    LineTrace trace_;
    std::function<TimePoint()> clock_;
    MfcLine mfcs_;
    sim::RelayBoard relay_;
    SimulatedLine mfcLine_;
    SimulatedLine relayLine_;
    UniqueFd wake_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> reconnecting_{false};
    std::unique_ptr<Announcement> announcement_;
    std::thread service_;
};

}  // namespace gasmixer::sim
