#pragma once

#include <ostream>
#include <string>

namespace gasmixer {

// gasmixer-run --recover: saves the table of a journal to a new file and
// marks the journal as saved. Returns the exit status.
int RecoverJournal(const std::string& journalPath, const std::string& savePath, std::ostream& err);

}  // namespace gasmixer
