#pragma once

#include <QThread>

namespace gasmixer {

class TMixer;

// Runs a mixer on a thread of its own: the control tick every 250 ms, or back
// to back when a tick outlasts the interval, the program runner between
// ticks, and the commands posted to the mixer as they come. The window
// thread never waits on a device.
class MixerThread final {
public:
    static constexpr int TickIntervalMs = 250;

    // The mixer is the thread's from now on: reach it only through Post.
    explicit MixerThread(TMixer& mixer);
    // Runs the mixer's shut-down on its thread, then ends the thread.
    ~MixerThread();
    MixerThread(const MixerThread&) = delete;
    MixerThread& operator=(const MixerThread&) = delete;

private:
    TMixer& mixer_;
    QThread thread_;
    QObject* driver_ = nullptr;  // lives on thread_; its timer ticks the mixer
};

// One tick as the thread runs it: commands that came, the tick, the program.
void RunMixerTick(TMixer& mixer);

}  // namespace gasmixer
