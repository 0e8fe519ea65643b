#include "records/BackgroundWriter.h"

namespace gasmixer {

TBackgroundWriter::TBackgroundWriter(FileWriter write) : write_(std::move(write)), worker_([this] { Run(); }) {}

TBackgroundWriter::~TBackgroundWriter()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

void TBackgroundWriter::Submit(std::string path, ContentProducer content, Done done)
{
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back({std::move(path), std::move(content), std::move(done), std::nullopt});
    }
    wake_.notify_one();
}

void TBackgroundWriter::Collect()
{
    std::vector<Job> finished;
    {
        const std::lock_guard lock(mutex_);
        finished.swap(finished_);
    }
    for (const Job& job : finished) {
        if (job.done) job.done(job.outcome);
    }
}

void TBackgroundWriter::Finish()
{
    {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return waiting_.empty() && !busy_; });
    }
    Collect();
}

void TBackgroundWriter::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !waiting_.empty(); });
        if (waiting_.empty()) return;  // stopping with nothing left
        Job job = std::move(waiting_.front());
        waiting_.pop_front();
        busy_ = true;
        lock.unlock();
        try {
            job.outcome = write_(job.path, job.content);
        } catch (...) {
            job.outcome.reset();
        }
        job.content = nullptr;  // the table's snapshot goes now, not at the collect
        lock.lock();
        finished_.push_back(std::move(job));
        busy_ = false;
        idle_.notify_all();
    }
}

}  // namespace gasmixer
