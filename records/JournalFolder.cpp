#include "records/JournalFolder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

namespace gasmixer {

namespace {

namespace fs = std::filesystem;

constexpr double MaxAgeDays = 30.0;
constexpr std::uintmax_t MaxTotalBytes = 1'000'000'000;

const std::regex JournalName(R"(journal (\d{4}-\d{2}-\d{2}) (\d{2})_(\d{2})_\d{2} \d+\.csv)");

// Its program holds a lock on it for as long as it runs, whatever the way it ends.
bool InUse(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

double DaysSince(fs::file_time_type time)
{
    return std::chrono::duration<double, std::ratio<86400>>(fs::file_time_type::clock::now() - time).count();
}

// Adds one line, after cutting off a row a crash tore.
bool AppendJournalLine(const std::string& path, const std::string& line)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    // A crash may have torn the last row: those bytes were never a row, and
    // the line must not join them.
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const off_t tail = std::min<off_t>(size, 64 * 1024);
    std::string last(static_cast<std::size_t>(tail), '\0');
    bool ok = size >= 0 && ::pread(fd, last.data(), last.size(), size - tail) == tail;
    if (ok && !last.ends_with("\r\n") && size > 0) {
        const std::size_t end = last.rfind("\r\n");
        const off_t whole = end == std::string::npos ? size - tail : size - tail + static_cast<off_t>(end) + 2;
        ok = ::ftruncate(fd, whole) == 0;
    }
    ok = ok && ::lseek(fd, 0, SEEK_END) >= 0 &&
         ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()) && ::fdatasync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

}  // namespace

std::optional<JournalContent> ReadJournal(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (in.bad()) return std::nullopt;
    return ReadJournalText(bytes);
}

std::optional<RecoveredTable> RecoverTable(const std::string& journalPath)
{
    const std::optional<JournalContent> journal = ReadJournal(journalPath);
    if (!journal) return std::nullopt;
    return RecoveredTable{RecoveredTableFile(*journal), static_cast<int>(journal->Rows.size())};
}

std::vector<JournalFile> ListJournals(const std::string& folder)
{
    std::vector<JournalFile> journals;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(error) || !std::regex_match(name, JournalName)) continue;
        JournalFile journal;
        journal.Path = entry.path().string();
        journal.Name = name;
        journal.AgeDays = DaysSince(entry.last_write_time(error));
        journal.Bytes = entry.file_size(error);
        journal.InUse = InUse(journal.Path);
        if (const std::optional<JournalContent> content = ReadJournal(journal.Path)) {
            journal.Rows = static_cast<int>(content->Rows.size());
            journal.Unsaved = content->Unsaved();
        }
        journals.push_back(std::move(journal));
    }
    // The name starts with the run's start time.
    std::sort(journals.begin(), journals.end(),
              [](const JournalFile& a, const JournalFile& b) { return a.Name > b.Name; });
    return journals;
}

std::string JournalRunStart(const std::string& name)
{
    std::smatch match;
    if (!std::regex_match(name, match, JournalName)) return name;
    return match[1].str() + " " + match[2].str() + ":" + match[3].str();
}

bool MarkJournalSaved(const std::string& path, int rows) { return AppendJournalLine(path, JournalSavedLine(rows)); }

bool MarkJournalDeclined(const std::string& path) { return AppendJournalLine(path, JournalDeclinedLine()); }

std::vector<JournalRemoval> JournalsToRemove(std::vector<JournalFile> journals)
{
    std::sort(journals.begin(), journals.end(),
              [](const JournalFile& a, const JournalFile& b) { return a.AgeDays > b.AgeDays; });
    std::uintmax_t total = 0;
    for (const JournalFile& journal : journals) total += journal.Bytes;
    std::vector<JournalRemoval> removals;
    for (const JournalFile& journal : journals) {
        if (journal.InUse) continue;
        const char* why = nullptr;
        if (journal.AgeDays > MaxAgeDays) {
            why = "older than 30 days";
        } else if (total > MaxTotalBytes && !journal.Unsaved) {
            why = "the journals exceed 1 GB";
        }
        if (!why) continue;
        removals.push_back({journal.Path, why});
        total -= journal.Bytes;
    }
    return removals;
}

}  // namespace gasmixer
