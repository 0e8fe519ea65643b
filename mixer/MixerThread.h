#pragma once

#include "regulation/TickCadence.h"

#include <condition_variable>
#include <memory>
#include <mutex>

class QThread;

namespace gasmixer {

class TMixer;
class ThreadWake;

// Runs a mixer on a thread of its own: the control tick every 250 ms, or back
// to back when a tick outlasts the interval, the program runner between
// ticks, and the commands posted to the mixer as they come. The window
// thread never waits on a device.
class MixerThread final {
public:
    // The mixer is the thread's from now on: reach it only through Post.
    explicit MixerThread(TMixer& mixer);
    // Runs the mixer's shut-down on its thread, then ends the thread.
    ~MixerThread();
    MixerThread(const MixerThread&) = delete;
    MixerThread& operator=(const MixerThread&) = delete;

private:
    void Run();

    TMixer& mixer_;
    std::unique_ptr<QThread> thread_;
    ThreadWake* wake_ = nullptr;  // lives on thread_, deleted there at its end
    // The thread's end, told under a lock of our own: everything it did
    // comes before.
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
};

// One tick as the thread runs it: commands that came, the tick, the program.
void RunMixerTick(TMixer& mixer);

}  // namespace gasmixer
