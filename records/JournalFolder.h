#pragma once

#include "records/JournalText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gasmixer {

// A run's journal as the start-up finds it.
struct JournalFile {
    std::string Path;
    std::string Name;
    double AgeDays = 0.0;  // since its last write
    std::uintmax_t Bytes = 0;
    bool InUse = false;  // its program still runs
    int Rows = 0;
    bool Unsaved = false;
};

// The journals of the folder, newest run first; none when it does not exist.
std::vector<JournalFile> ListJournals(const std::string& folder);

// A journal's whole content; nothing when it cannot be read.
std::optional<JournalContent> ReadJournal(const std::string& path);

// The file a save of a journal's table would have written, and its rows.
struct RecoveredTable {
    std::string File;
    int Rows = 0;
};
std::optional<RecoveredTable> RecoverTable(const std::string& journalPath);

// "yyyy-mm-dd hh:mm" of the run's start, from the journal's name.
std::string JournalRunStart(const std::string& name);

// Marks on a journal that no program writes any more: a save wrote its
// first `rows` rows, or the operator does not want its table back.
bool MarkJournalSaved(const std::string& path, int rows);
bool MarkJournalDeclined(const std::string& path);

struct JournalRemoval {
    std::string Path;
    std::string Why;
};

// Oldest first: every journal older than 30 days, then saved ones while the
// journals hold more than 1 GB. A journal still written, or one of an
// unsaved run in its first 30 days, stays.
std::vector<JournalRemoval> JournalsToRemove(std::vector<JournalFile> journals);

}  // namespace gasmixer
