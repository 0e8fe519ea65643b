#pragma once

#include "app/OperatorDialogs.h"
#include "common/DateTime.h"
#include "common/MonotonicClock.h"
#include "common/Pause.h"
#include "common/WorkerTiming.h"
#include "instruments/PortListing.h"
#include "records/BackgroundWriter.h"
#include "records/RecordJournal.h"
#include "regulation/WettingDrawing.h"

#include <cstdint>
#include <functional>
#include <string>

namespace gasmixer {

// What the main window takes from outside, so that tests can stand in for
// the clocks, the port listing, the modal boxes, the mixer's waits and
// files, and the thread the mixer runs on.
struct FormServices {
    const Clock& clock;  // the time of day
    const MonotonicClock& monotonic = SystemMonotonicClock::Instance();  // durations
    PortLister listPorts;
    OperatorDialogs& dialogs;
    // The long waits of the control tick: the flush steps and the pulse
    // lengths.
    std::function<void(std::uint32_t ms)> sleep = Pause;
    // The short pauses between the tick's exchanges; a run whose time is
    // stepped leaves them out.
    std::function<void(std::uint32_t ms)> linePause = Pause;
    // A uniform integer from 1 to 99: the schematic's wet/dry drawing.
    std::function<int()> drawPercent = UniformPercentDraw{};
    WorkerTiming& wettingTiming = SystemWorkerTiming::Instance();  // the wetting worker's
    FileWriter writeFile = WriteFileAtomically;
    std::string journalFolder = DefaultJournalFolder();
    // Where the set-up is remembered between runs; empty: nowhere.
    std::string settingsPath = {};
    // The mixer on a thread of its own, ticking by itself. Off, it runs on
    // the window thread and ticks only when a test tells it to.
    bool mixerThread = true;
};

}  // namespace gasmixer
