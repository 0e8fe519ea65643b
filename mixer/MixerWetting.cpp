#include "mixer/Mixer.h"

namespace gasmixer {

namespace {
constexpr std::chrono::milliseconds StopPoll{250};
constexpr const char* StopCaption = "Waiting valve operations to finish";
}  // namespace

void TMixer::StartWettingThread()
{
    // At most one worker: a running one ends before the next begins.
    StopThread();
    auto thread = std::make_unique<TThreadWetting>(services_.wettingTiming, RelayBoard);
    thread->DesiredWETFractionOfTime = WettingFraction;
    thread->Stop = false;
    thread->LoopTimeS = 3.0;
    WettingThread = std::move(thread);
    WettingThread->Start();
}

void TMixer::TakeWorkerResults()
{
    if (!WettingThread) return;
    const TWettingResults results = WettingThread->TakeResults();
    WetTimeOccurred = results.WetTimeOccurred;
    for (const std::string& line : results.Trace) view_.DevFeedback(line);
}

// Waits for the rest of the worker's cycle and one more: the valves stay in
// its last pattern, and the caller sets them for its new mode.
void TMixer::StopThread()
{
    if (!WettingThread) return;
    std::string caption = StopCaption;
    view_.WorkerStopWaiting(caption);
    WettingThread->RequestStop();
    while (!WettingThread->WaitStopped(std::chrono::milliseconds(0))) {
        caption += '.';
        view_.WorkerStopWaiting(caption);
        TakeWorkerResults();
        WettingThread->WaitStopped(StopPoll);
    }
    TakeWorkerResults();
    WettingThread.reset();
    MethodStarted = false;
    view_.WorkerStopDone();
}

}  // namespace gasmixer
