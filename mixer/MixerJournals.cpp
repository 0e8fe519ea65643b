#include "mixer/Mixer.h"

#include "records/JournalFolder.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

namespace gasmixer {

void TMixer::LookAfterJournals()
{
    if (services_.journalFolder.empty()) return;
    const std::vector<JournalFile> journals = ListJournals(services_.journalFolder);
    std::vector<std::string> removed;
    for (const JournalRemoval& removal : JournalsToRemove(journals)) {
        const std::string name = std::filesystem::path(removal.Path).filename().string();
        std::error_code error;
        std::filesystem::remove(removal.Path, error);
        if (error) {
            view_.DevFeedback("Journal " + name + " not removed: " + error.message());
            continue;
        }
        view_.DevFeedback("Journal " + name + " removed: " + removal.Why);
        removed.push_back(removal.Path);
    }
    for (const JournalFile& journal : journals) {
        const bool gone = std::find(removed.begin(), removed.end(), journal.Path) != removed.end();
        if (journal.InUse || !journal.Unsaved || gone) continue;
        view_.UnsavedRunFound({journal.Path, JournalRunStart(journal.Name), journal.Rows});
    }
}

void TMixer::RecoverRun(const std::string& journalPath, const std::string& savePath)
{
    std::optional<RecoveredTable> table = RecoverTable(journalPath);
    if (!table) {
        TellSaved(savePath, false);
        return;
    }
    const int rows = table->Rows;
    const auto file = std::make_shared<const std::string>(std::move(table->File));
    saver_.Submit(savePath, [file](const ByteSink& write) { write(*file); },
                  [this, journalPath, savePath, rows](const std::optional<WriteOutcome>& outcome) {
                      const bool ok = outcome && outcome->Ok;
                      if (ok && !MarkJournalSaved(journalPath, rows))
                          view_.DevFeedback("The journal " + journalPath + " could not be marked as saved");
                      TellSaved(savePath, ok);
                  });
}

void TMixer::DeclineRun(const std::string& journalPath)
{
    if (!MarkJournalDeclined(journalPath))
        view_.DevFeedback("The journal " + journalPath + " could not be marked as declined");
}

}  // namespace gasmixer
