#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace gasmixer {

// The folder that holds the journals: $XDG_STATE_HOME/gasmixer, else
// ~/.local/state/gasmixer; empty when neither variable is set.
std::string DefaultJournalFolder();

// A copy of every stored row, kept on disk as the run goes, so that a crash
// or a power cut loses at most the last rows. One file per run, created with
// the first line and headed by the header line, locked while the run goes. A worker thread owns the file
// and flushes each batch to disk; the caller only queues lines.
class TRecordJournal {
public:
    using ProblemSink = std::function<void(const std::string&)>;

    // `onProblem` is called at most once, from the worker thread, when the
    // journal cannot be kept; the program runs on without it.
    TRecordJournal(std::string folder, std::string fileName, std::string headerLine,
                   ProblemSink onProblem);
    ~TRecordJournal();
    TRecordJournal(const TRecordJournal&) = delete;
    TRecordJournal& operator=(const TRecordJournal&) = delete;

    void Append(std::string line);
    // Grid row `row`'s file line; a row written before is marked as written anew.
    void AppendRow(int row, std::string line);
    // The plan text the table's saves carry from now on.
    void AppendPlan(std::string_view planText);
    // A save wrote the first `rows` rows.
    void AppendSaved(int rows);
    // Returns once everything queued so far is on disk or given up.
    void WaitIdle();

    std::string Path() const;

private:
    void Run();
    bool Open();
    void Write(const std::vector<std::string>& lines);
    void GiveUp(const std::string& problem);

    const std::string folder_;
    const std::string path_;
    const std::string header_;
    const ProblemSink onProblem_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::vector<std::string> queue_;
    bool busy_ = false;
    bool stop_ = false;

    // The caller's: what was appended so far.
    int rowsAppended_ = 0;
    int plansAppended_ = 0;

    // Owned by the worker.
    int fd_ = -1;
    bool failed_ = false;

    std::thread worker_;
};

}  // namespace gasmixer
