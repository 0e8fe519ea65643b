#pragma once

#include "mixer/MixerView.h"
#include "mixer/ThreadWake.h"

#include <QObject>
#include <QThread>

#include <deque>
#include <exception>
#include <functional>
#include <mutex>

namespace gasmixer {

// Hands what the mixer tells over to the thread of a window: at once when
// told on that thread, otherwise queued, in order. The queue is our own, so
// that the hand-over is ordered by a lock the thread sanitizer sees; Qt's
// event only wakes the window thread. News for a window that is gone is
// dropped with it.
class QueuedMixerView final : public MixerView {
public:
    // `context` is the window: the queue is drained on its thread.
    QueuedMixerView(MixerView& target, QObject& context)
        : target_(target), context_(context), wake_([this] { Drain(); })
    {
    }
    // The mixer's thread has ended: take the lock it released last.
    ~QueuedMixerView() override { const std::lock_guard lock(mutex_); }

    void StateChanged(const MixerSnapshot& s) override { Deliver([&t = target_, s] { t.StateChanged(s); }); }
    void Ticked() override { Deliver([&t = target_] { t.Ticked(); }); }
    void Error(const std::string& m) override { Deliver([&t = target_, m] { t.Error(m); }); }
    void StatusText(const std::string& s) override { Deliver([&t = target_, s] { t.StatusText(s); }); }
    void WorkerStopWaiting(const std::string& c) override { Deliver([&t = target_, c] { t.WorkerStopWaiting(c); }); }
    void WorkerStopDone() override { Deliver([&t = target_] { t.WorkerStopDone(); }); }
    void ValvesDrawn(const std::array<bool, 6>& v) override { Deliver([&t = target_, v] { t.ValvesDrawn(v); }); }
    void DevFeedback(const std::string& l) override { Deliver([&t = target_, l] { t.DevFeedback(l); }); }
    void SetupFeedback(const std::string& l) override { Deliver([&t = target_, l] { t.SetupFeedback(l); }); }
    void RelayBoardChecked(bool ok) override { Deliver([&t = target_, ok] { t.RelayBoardChecked(ok); }); }
    void MfcChecked(bool ok) override { Deliver([&t = target_, ok] { t.MfcChecked(ok); }); }
    void GasChosen(int address, const std::optional<TGasBLimitRange>& range) override
    {
        Deliver([&t = target_, address, range] { t.GasChosen(address, range); });
    }
    void WaterTemperatureRead(double pH2O, const std::string& label, bool forEdit) override
    {
        Deliver([&t = target_, pH2O, label, forEdit] { t.WaterTemperatureRead(pH2O, label, forEdit); });
    }
    void PlanAdopted(const std::vector<std::string>& report, int a, int h2o, bool defined) override
    {
        Deliver([&t = target_, report, a, h2o, defined] { t.PlanAdopted(report, a, h2o, defined); });
    }
    void MixtureWritten(int a, int h2o, std::optional<double> limit) override
    {
        Deliver([&t = target_, a, h2o, limit] { t.MixtureWritten(a, h2o, limit); });
    }
    void GridRowWritten(int row, const std::vector<std::string>& cells) override
    {
        Deliver([&t = target_, row, cells] { t.GridRowWritten(row, cells); });
    }
    void RowStored(int row, const RecordRow& r) override { Deliver([&t = target_, row, r] { t.RowStored(row, r); }); }
    void ResetMarked(TDateTime when) override { Deliver([&t = target_, when] { t.ResetMarked(when); }); }
    void DeliveryAlarmChanged(const DeliveryAlarm& a) override
    {
        Deliver([&t = target_, a] { t.DeliveryAlarmChanged(a); });
    }
    void AutosaveShown(const std::string& s) override { Deliver([&t = target_, s] { t.AutosaveShown(s); }); }
    void Saved(const std::string& path, bool ok) override { Deliver([&t = target_, path, ok] { t.Saved(path, ok); }); }
    void UnsavedRunFound(const UnsavedRun& run) override { Deliver([&t = target_, run] { t.UnsavedRunFound(run); }); }
    void ProgramStepStarted(const ScheduledStep& e) override { Deliver([&t = target_, e] { t.ProgramStepStarted(e); }); }
    void ProgramOperationPressed(int step, ProgramOperation o) override
    {
        Deliver([&t = target_, step, o] { t.ProgramOperationPressed(step, o); });
    }
    void ProgramEnded(const std::string& line) override { Deliver([&t = target_, line] { t.ProgramEnded(line); }); }
    void ProgramStatusChanged(const ProgramRunStatus& s) override
    {
        Deliver([&t = target_, s] { t.ProgramStatusChanged(s); });
    }
    void ProgramRefused(const std::vector<StepProblem>& p) override
    {
        Deliver([&t = target_, p] { t.ProgramRefused(p); });
    }

private:
    template <class F>
    void Deliver(F&& call)
    {
        if (QThread::currentThread() == context_.thread()) {
            Drain();  // what came from other threads first, in order
            call();
            return;
        }
        bool wake = false;
        {
            const std::lock_guard lock(mutex_);
            wake = queue_.empty();
            queue_.emplace_back(std::forward<F>(call));
        }
        if (wake) wake_.Wake();
    }

    void Drain()
    {
        for (;;) {
            std::function<void()> call;
            {
                const std::lock_guard lock(mutex_);
                if (queue_.empty()) return;
                call = std::move(queue_.front());
                queue_.pop_front();
            }
            // A piece of news that fails to show ends only itself; the queue goes on.
            try {
                call();
            } catch (const std::exception& e) {
                target_.Error(e.what());
            }
        }
    }

    MixerView& target_;
    QObject& context_;
    ThreadWake wake_;
    std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
};

}  // namespace gasmixer
