#include "records/RecordJournal.h"

#include "records/JournalText.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace gasmixer {

std::string DefaultJournalFolder()
{
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state) {
        return std::string(state) + "/gasmixer";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::string(home) + "/.local/state/gasmixer";
    }
    return {};
}

TRecordJournal::TRecordJournal(std::string folder, std::string fileName, std::string headerLine,
                               ProblemSink onProblem)
    : folder_(std::move(folder)),
      path_(folder_ + "/" + fileName),
      header_(std::move(headerLine)),
      onProblem_(std::move(onProblem)),
      worker_([this] { Run(); })
{
}

TRecordJournal::~TRecordJournal()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    worker_.join();
    if (fd_ >= 0) ::close(fd_);
}

std::string TRecordJournal::Path() const { return path_; }

void TRecordJournal::Append(std::string line)
{
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(line));
    }
    wake_.notify_one();
}

void TRecordJournal::AppendRow(int row, std::string line)
{
    if (row <= rowsAppended_) Append(JournalRowMarker(row));
    Append(std::move(line));
    rowsAppended_ = std::max(rowsAppended_, row);
}

void TRecordJournal::AppendPlan(std::string_view planText)
{
    ++plansAppended_;
    for (std::string& line : JournalPlanLines(plansAppended_, planText)) Append(std::move(line));
}

void TRecordJournal::AppendSaved(int rows) { Append(JournalSavedLine(rows)); }

void TRecordJournal::WaitIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void TRecordJournal::Run()
{
    std::vector<std::string> batch;
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) return;  // stopping with nothing left
        batch.swap(queue_);
        busy_ = true;
        lock.unlock();
        Write(batch);
        batch.clear();
        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
}

bool TRecordJournal::Open()
{
    if (fd_ >= 0) return true;
    if (folder_.empty()) {
        GiveUp("Record journal not kept: no folder for it");
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) {
        GiveUp("Record journal not kept: cannot create " + folder_ + ": " + error.message());
        return false;
    }
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        GiveUp("Record journal not kept: cannot open " + path_ + ": " + std::strerror(errno));
        return false;
    }
    // Held until the process ends, however it ends: a later start tells a
    // finished run's journal from a running one by it.
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
    return true;
}

void TRecordJournal::Write(const std::vector<std::string>& lines)
{
    if (failed_) return;
    const bool fresh = fd_ < 0;
    if (!Open()) return;
    std::string bytes = fresh ? header_ : std::string();
    for (const std::string& line : lines) bytes += line;
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd_, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) {
            GiveUp("Record journal stopped: cannot write " + path_ + ": " + std::strerror(errno));
            return;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fdatasync(fd_) != 0) {
        GiveUp("Record journal stopped: cannot flush " + path_ + ": " + std::strerror(errno));
    }
}

void TRecordJournal::GiveUp(const std::string& problem)
{
    failed_ = true;
    if (onProblem_) onProblem_(problem);
}

}  // namespace gasmixer
