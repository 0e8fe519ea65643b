#include "mixer/MixerThread.h"

#include "mixer/Mixer.h"
#include "mixer/ProgramRunner.h"
#include "mixer/ThreadWake.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

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
}

MixerThread::MixerThread(TMixer& mixer) : mixer_(mixer)
{
    thread_.reset(QThread::create([this] { Run(); }));
    wake_ = new ThreadWake([this] { mixer_.RunPending(); });
    wake_->moveToThread(thread_.get());
    mixer_.SetWake([wake = wake_] { wake->Wake(); });
    thread_->start();
}

void MixerThread::Run()
{
    {
        QTimer timer;
        timer.setInterval(static_cast<int>(ControlTickMs));
        // Precise: after a long tick the next one follows at once, not an interval later.
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [this] { RunMixerTick(mixer_); });
        timer.start();
        QEventLoop loop;
        loop.exec();
    }
    delete wake_;
    const std::lock_guard lock(mutex_);
    done_ = true;
    ended_.notify_all();
}

MixerThread::~MixerThread()
{
    mixer_.Post([](TMixer& mixer) {
        mixer.Close();
        // Later posts stay unrun: the thread is going.
        mixer.SetWake({});
        QThread::currentThread()->quit();
    });
    {
        std::unique_lock lock(mutex_);
        ended_.wait(lock, [this] { return done_; });
    }
    thread_->wait();
}

}  // namespace gasmixer
