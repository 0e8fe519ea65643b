#include "mixer/MixerThread.h"

#include "mixer/Mixer.h"
#include "mixer/ProgramRunner.h"

#include <QTimer>

#include <condition_variable>
#include <mutex>

namespace gasmixer {

void RunMixerTick(TMixer& mixer)
{
    mixer.RunPending();
    mixer.Timer1Timer();
    // What came during the tick is applied before the program looks.
    mixer.RunPending();
    try {
        mixer.Runner().Poll();
    } catch (const std::exception& e) {
        mixer.View().Error(e.what());
    }
    // What the program pressed is told as the tick's changes are.
    mixer.View().StateChanged(mixer.Snapshot());
}

MixerThread::MixerThread(TMixer& mixer) : mixer_(mixer)
{
    driver_ = new QObject;
    auto* timer = new QTimer(driver_);
    timer->setInterval(TickIntervalMs);
    // Precise: after a long tick the next one follows at once, not an interval later.
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, driver_, [this] { RunMixerTick(mixer_); });
    driver_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::started, timer, qOverload<>(&QTimer::start));
    QObject::connect(&thread_, &QThread::finished, driver_, &QObject::deleteLater);
    mixer_.SetWake([driver = driver_, &mixer = mixer_] {
        QMetaObject::invokeMethod(driver, [&mixer] { mixer.RunPending(); }, Qt::QueuedConnection);
    });
    thread_.start();
}

MixerThread::~MixerThread()
{
    // The end is told through a lock of our own, so that the sanitizer sees
    // the mixer handed back to this thread.
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    mixer_.Post([&](TMixer& mixer) {
        mixer.Close();
        // Later posts stay unrun: the thread is going.
        mixer.SetWake({});
        QThread::currentThread()->quit();
        const std::lock_guard lock(mutex);
        done = true;
        ended.notify_one();
    });
    {
        std::unique_lock lock(mutex);
        ended.wait(lock, [&] { return done; });
    }
    thread_.wait();
}

}  // namespace gasmixer
