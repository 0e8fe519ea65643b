#include "records/RecordFile.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace gasmixer {

namespace {

constexpr std::string_view LineEnd = "\r\n";

constexpr unsigned char Quoted = 1;       // a character from 1 to 32, a double quote or ";"
constexpr unsigned char NonAscii = 2;     // a byte of a UTF-8 sequence
constexpr unsigned char DoubleQuote = 4;  // doubled inside the quotes

constexpr std::array<unsigned char, 256> ByteKinds = [] {
    std::array<unsigned char, 256> kinds{};
    for (int code = 1; code <= 32; ++code) kinds[static_cast<std::size_t>(code)] = Quoted;
    kinds['"'] = Quoted | DoubleQuote;
    kinds[';'] = Quoted;
    for (int code = 0x80; code < 0x100; ++code) kinds[static_cast<std::size_t>(code)] = NonAscii;
    return kinds;
}();

unsigned char CellKind(std::string_view cell)
{
    unsigned char kind = 0;
    for (const char c : cell) kind |= ByteKinds[static_cast<unsigned char>(c)];
    return kind;
}

bool NeedsQuotes(std::string_view cell) { return (CellKind(cell) & Quoted) != 0; }

// Length of the UTF-8 sequence that starts with this byte, or 0 if none does.
int SequenceLength(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Latin-1 is never longer than its UTF-8, so the text can be converted
// where it stands; returns the new end.
char* ToLatin1InPlace(char* begin, char* end)
{
    char* out = begin;
    const char* in = begin;
    while (in < end) {
        const auto lead = static_cast<unsigned char>(*in);
        const int length = SequenceLength(lead);
        bool whole = length > 0 && end - in >= length;
        for (int k = 1; whole && k < length; ++k) whole = (static_cast<unsigned char>(in[k]) & 0xC0) == 0x80;
        if (!whole) {
            *out++ = '?';
            ++in;
            continue;
        }
        if (length == 1) {
            *out++ = static_cast<char>(lead);
        } else if (length == 2 && lead <= 0xC3) {
            *out++ = static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(in[1]) & 0x3F));
        } else {
            *out++ = '?';
        }
        in += length;
    }
    return out;
}

}  // namespace

std::string ToLatin1(std::string_view utf8)
{
    std::string out(utf8);
    out.resize(static_cast<std::size_t>(ToLatin1InPlace(out.data(), out.data() + out.size()) - out.data()));
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

std::size_t RecordFileLineBound(std::span<const std::string_view> cells)
{
    std::size_t bound = LineEnd.size();
    for (const std::string_view cell : cells) bound += 2 * cell.size() + 3;  // every quote doubled, two more, a ";"
    return bound;
}

char* WriteRecordFileLine(char* out, std::span<const std::string_view> cells, bool headerRow)
{
    // Cells are short: byte loops without branches on the common path (a
    // number whose blanks are dropped), not a library call per cell.
    char* const line = out;
    unsigned char lineKind = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) *out++ = ';';
        const std::string_view cell = cells[i];
        const unsigned char kind = CellKind(cell);
        lineKind |= kind;
        if ((kind & Quoted) == 0) {
            for (const char c : cell) *out++ = c;
            continue;
        }
        *out++ = '"';
        if (kind & DoubleQuote) {
            for (const char c : cell) {
                if (c == ' ' && !headerRow) continue;
                if (c == '"') *out++ = '"';
                *out++ = c;
            }
        } else if (headerRow) {
            for (const char c : cell) *out++ = c;
        } else {
            for (const char c : cell) {
                *out = c;
                out += c != ' ';
            }
        }
        *out++ = '"';
    }
    if (lineKind & NonAscii) out = ToLatin1InPlace(line, out);
    return std::copy(LineEnd.begin(), LineEnd.end(), out);
}

std::string RecordFileLine(std::span<const std::string> cells, bool headerRow)
{
    const std::vector<std::string_view> views(cells.begin(), cells.end());
    std::string line(RecordFileLineBound(views), '\0');
    line.resize(static_cast<std::size_t>(WriteRecordFileLine(line.data(), views, headerRow) - line.data()));
    return line;
}

}  // namespace gasmixer
