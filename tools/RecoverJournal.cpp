#include "tools/RecoverJournal.h"

#include "records/AtomicFileWriter.h"
#include "records/JournalFolder.h"
#include "tools/HeadlessRun.h"

#include <filesystem>

namespace gasmixer {

int RecoverJournal(const std::string& journalPath, const std::string& savePath, std::ostream& err)
{
    if (std::filesystem::exists(std::filesystem::symlink_status(savePath))) {
        err << "gasmixer-run: " << savePath << " exists; give a new name\n";
        return HeadlessRun::BadInput;
    }
    const std::optional<RecoveredTable> table = RecoverTable(journalPath);
    if (!table) {
        err << "gasmixer-run: cannot read the journal " << journalPath << '\n';
        return HeadlessRun::Failed;
    }
    const WriteOutcome outcome =
        WriteFileAtomically(savePath, [&table](const ByteSink& write) { write(table->File); });
    if (!outcome.Ok) {
        err << "gasmixer-run: the table could not be saved to " << savePath << ": " << outcome.Error << '\n';
        return HeadlessRun::Failed;
    }
    if (!MarkJournalSaved(journalPath, table->Rows))
        err << "gasmixer-run: the journal could not be marked as saved; the window will offer it again\n";
    err << "gasmixer-run: " << table->Rows << " rows recovered to " << savePath << '\n';
    return HeadlessRun::Succeeded;
}

}  // namespace gasmixer
