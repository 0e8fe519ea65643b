#include "records/JournalText.h"

#include "records/RecordFile.h"

#include <algorithm>
#include <charconv>

namespace gasmixer {

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view PlanTag = "#plan ";
constexpr std::string_view RowTag = "#row;";
constexpr std::string_view SavedTag = "#saved;";
constexpr std::string_view DeclinedTag = "#declined";

std::string Line(std::string_view text) { return std::string(text) + std::string(LineEnd); }

int NumberAt(std::string_view text)
{
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// A cell as QuoteCell wrote it.
std::string Unquoted(std::string_view cell)
{
    if (cell.size() < 2 || cell.front() != '"' || cell.back() != '"') return std::string(cell);
    std::string text;
    cell = cell.substr(1, cell.size() - 2);
    for (std::size_t i = 0; i < cell.size(); ++i) {
        text += cell[i];
        if (cell[i] == '"' && i + 1 < cell.size() && cell[i + 1] == '"') ++i;
    }
    return text;
}

}  // namespace

std::vector<std::string> JournalPlanLines(int record, std::string_view planText)
{
    // The plan's lines as the saved file's preamble writes them.
    const std::string preamble = RecordFilePreamble(planText);
    const std::size_t first = preamble.find(LineEnd) + LineEnd.size();
    const std::size_t separator = preamble.size() - RecordFileSeparatorLine.size() - LineEnd.size();
    std::vector<std::string> lines;
    const std::string tag = std::string(PlanTag) + std::to_string(record) + ";";
    for (std::size_t at = first; at < separator;) {
        const std::size_t end = preamble.find(LineEnd, at);
        lines.push_back(Line(tag + QuoteCell(std::string_view(preamble).substr(at, end - at))));
        at = end + LineEnd.size();
    }
    return lines;
}

std::string JournalRowMarker(int row) { return Line(std::string(RowTag) + std::to_string(row)); }

std::string JournalSavedLine(int rows) { return Line(std::string(SavedTag) + std::to_string(rows)); }

std::string JournalDeclinedLine() { return Line(DeclinedTag); }

JournalContent ReadJournalText(std::string_view bytes)
{
    JournalContent journal;
    std::string planRecord;
    std::size_t nextRow = 0;  // index into Rows of the next row line
    bool first = true;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = bytes.find(LineEnd, at);
        if (end == std::string_view::npos) break;
        const std::string_view text = bytes.substr(at, end - at);
        const std::string_view line = bytes.substr(at, end + LineEnd.size() - at);
        at = end + LineEnd.size();
        if (first) {
            journal.HeaderLine = std::string(line);
            first = false;
        } else if (text.starts_with(PlanTag)) {
            journal.MarksSaves = true;
            const std::size_t cell = text.find(';');
            const std::string_view record = text.substr(0, cell);
            if (record != planRecord) {
                planRecord = std::string(record);
                journal.PlanLines.clear();
            }
            journal.PlanLines.push_back(Unquoted(cell == std::string_view::npos ? "" : text.substr(cell + 1)));
        } else if (text.starts_with(RowTag)) {
            const int row = NumberAt(text.substr(RowTag.size()));
            nextRow = std::min(static_cast<std::size_t>(std::max(row, 1) - 1), journal.Rows.size());
        } else if (text.starts_with(SavedTag)) {
            journal.SavedRows = std::max(journal.SavedRows, NumberAt(text.substr(SavedTag.size())));
        } else if (text == DeclinedTag) {
            journal.Declined = true;
        } else {
            if (nextRow < journal.Rows.size()) {
                journal.Rows[nextRow] = std::string(line);
            } else {
                journal.Rows.emplace_back(line);
            }
            nextRow = journal.Rows.size();
        }
    }
    return journal;
}

std::string RecoveredTableFile(const JournalContent& journal)
{
    std::string file = Line(RecordFileFirstLine);
    for (const std::string& line : journal.PlanLines) file += Line(line);
    if (journal.PlanLines.empty()) file += LineEnd;  // as an empty plan text is saved
    file += Line(RecordFileSeparatorLine);
    file += journal.HeaderLine;
    for (const std::string& row : journal.Rows) file += row;
    return file;
}

}  // namespace gasmixer
