#include "records/RecordFile.h"

#include <algorithm>

namespace gasmixer {

namespace {

constexpr std::string_view LineEnd = "\r\n";

bool NeedsQuotes(std::string_view cell)
{
    return std::any_of(cell.begin(), cell.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return (code >= 1 && code <= 32) || c == '"' || c == ';';
    });
}

// Length of the UTF-8 sequence that starts with this byte, or 0 if none does.
int SequenceLength(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

}  // namespace

std::string ToLatin1(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = SequenceLength(lead);
        bool whole = length > 0 && i + static_cast<std::size_t>(length) <= utf8.size();
        for (int k = 1; whole && k < length; ++k) {
            whole = (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0xC0) == 0x80;
        }
        if (!whole) {
            out += '?';
            ++i;
            continue;
        }
        if (length == 1) {
            out += static_cast<char>(lead);
        } else if (length == 2 && lead <= 0xC3) {
            const auto trail = static_cast<unsigned char>(utf8[i + 1]);
            out += static_cast<char>(((lead & 0x03) << 6) | (trail & 0x3F));
        } else {
            out += '?';
        }
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::string QuoteCell(std::string_view cell)
{
    if (!NeedsQuotes(cell)) return std::string(cell);
    std::string quoted;
    quoted.reserve(cell.size() + 2);
    quoted += '"';
    for (const char c : cell) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string RecordFilePreamble(std::string_view planText)
{
    std::string out(RecordFileFirstLine);
    out += LineEnd;
    // The plan text gets one more line break; each CR, LF or CR LF ends a line.
    const std::string text = ToLatin1(planText) + '\r';
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", i);
        out.append(text, i, end - i);
        out += LineEnd;
        i = end + 1;
        if (text[end] == '\r' && i < text.size() && text[i] == '\n') ++i;
    }
    out += RecordFileSeparatorLine;
    out += LineEnd;
    return out;
}

void AppendRecordFileLine(std::string& out, std::span<const std::string_view> cells, bool headerRow)
{
    // One pass: quotes are decided on the cell as it is, blanks of data rows
    // dropped while copying, which is the same as removing them afterwards.
    const std::size_t start = out.size();
    bool ascii = true;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += ';';
        const std::string_view cell = cells[i];
        const bool quoted = NeedsQuotes(cell);
        if (quoted) out += '"';
        for (const char c : cell) {
            if (c == ' ' && !headerRow) continue;
            if (quoted && c == '"') out += '"';
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
            out += c;
        }
        if (quoted) out += '"';
    }
    if (!ascii) out.replace(start, std::string::npos, ToLatin1(std::string_view(out).substr(start)));
    out += LineEnd;
}

std::string RecordFileLine(std::span<const std::string> cells, bool headerRow)
{
    const std::vector<std::string_view> views(cells.begin(), cells.end());
    std::string line;
    AppendRecordFileLine(line, views, headerRow);
    return line;
}

}  // namespace gasmixer
