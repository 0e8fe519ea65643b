#pragma once

#include <string>
#include <string_view>
#include <vector>

// A journal is the table as it grows: the header line, then the file line of
// each grid row as it is written. Lines that start with "#" tell what a table
// does not hold, each as a row of its own so that a spreadsheet still reads
// the journal:
//   #plan <k>;<line>   a line of the k-th plan text, as the saved file has it
//   #row;<n>           the next line is grid row n again, written anew
//   #saved;<n>         a save has written the table's first n rows
//   #declined          the operator did not want the run's table back

namespace gasmixer {

std::vector<std::string> JournalPlanLines(int record, std::string_view planText);
std::string JournalRowMarker(int row);
std::string JournalSavedLine(int rows);
std::string JournalDeclinedLine();

// What a journal holds, as far as it reached the disk.
struct JournalContent {
    std::string HeaderLine;            // with its line end
    std::vector<std::string> PlanLines;  // of the last plan, without line ends
    std::vector<std::string> Rows;       // grid rows 1.., with their line ends
    int SavedRows = 0;                   // the most any save wrote
    bool Declined = false;
    // Written by a program that marks its saves: every journal since has a
    // plan record. Older ones cannot tell a saved run from a lost one.
    bool MarksSaves = false;

    // Rows a crash or a quit left without a save.
    bool Unsaved() const { return MarksSaves && !Declined && static_cast<int>(Rows.size()) > SavedRows; }
};

// A torn last line (a crash mid-write) is left out.
JournalContent ReadJournalText(std::string_view bytes);

// The file a save of that table would have written.
std::string RecoveredTableFile(const JournalContent& journal);

}  // namespace gasmixer
