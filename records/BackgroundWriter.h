#pragma once

#include "records/AtomicFileWriter.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace gasmixer {

using FileWriter = std::function<WriteOutcome(const std::string& path, const ContentProducer& content)>;

// Writes files on a thread of its own, one at a time in the order asked, so
// that the thread that asks never waits on the disk. Each write's end is
// told back on the asking thread, when it collects.
class TBackgroundWriter {
public:
    // The outcome, or none when an error escaped the writer.
    using Done = std::function<void(const std::optional<WriteOutcome>&)>;

    explicit TBackgroundWriter(FileWriter write);
    // Writes what was asked, but tells nothing more.
    ~TBackgroundWriter();
    TBackgroundWriter(const TBackgroundWriter&) = delete;
    TBackgroundWriter& operator=(const TBackgroundWriter&) = delete;

    void Submit(std::string path, ContentProducer content, Done done);
    // Tells the end of each write finished since the last call.
    void Collect();
    // Waits for every write asked so far, then collects.
    void Finish();

private:
    struct Job {
        std::string path;
        ContentProducer content;
        Done done;
        std::optional<WriteOutcome> outcome;
    };

    void Run();

    const FileWriter write_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> waiting_;
    std::vector<Job> finished_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread worker_;
};

}  // namespace gasmixer
