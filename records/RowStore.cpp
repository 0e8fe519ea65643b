#include "records/RowStore.h"

#include <algorithm>
#include <cstring>

namespace gasmixer {

namespace {

constexpr std::size_t BlockSize = std::size_t{1} << 20;

void PutLength(std::string& out, std::size_t length)
{
    while (length >= 0x80) {
        out += static_cast<char>(0x80 | (length & 0x7F));
        length >>= 7;
    }
    out += static_cast<char>(length);
}

std::size_t GetLength(const char*& p)
{
    std::size_t length = 0;
    int shift = 0;
    for (;;) {
        const auto byte = static_cast<unsigned char>(*p++);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return length;
        shift += 7;
    }
}

// The cells of a row's bytes as views; a row of no bytes has every cell empty.
void DecodeRowViews(const char* p, bool empty, std::vector<std::string_view>& cells, int colCount)
{
    cells.assign(static_cast<std::size_t>(colCount), std::string_view());
    if (empty) return;
    for (std::string_view& cell : cells) {
        const std::size_t length = GetLength(p);
        cell = std::string_view(p, length);
        p += length;
    }
}

}  // namespace

void TRowSnapshot::ReadRowViews(int row, std::vector<std::string_view>& cells) const
{
    const rowstore::Location& where = rows_.at(static_cast<std::size_t>(row));
    const bool empty = where.size == 0;
    DecodeRowViews(empty ? nullptr : blocks_[where.block].get() + where.offset, empty, cells, colCount_);
}

TRowStore::TRowStore(int colCount) : colCount_(colCount) {}

void TRowStore::AppendEmptyRow() { rows_.push_back({}); }

const char* TRowStore::RowBytes(const Location& where) const
{
    return blocks_[where.block].bytes.get() + where.offset;
}

std::string TRowStore::Cell(int col, int row) const
{
    const Location& where = rows_.at(static_cast<std::size_t>(row));
    if (where.size == 0) return {};
    const char* p = RowBytes(where);
    for (int c = 0;; ++c) {
        const std::size_t length = GetLength(p);
        if (c == col) return std::string(p, length);
        p += length;
    }
}

void TRowStore::ReadRow(int row, std::vector<std::string>& cells) const
{
    cells.resize(static_cast<std::size_t>(colCount_));
    const Location& where = rows_.at(static_cast<std::size_t>(row));
    if (where.size == 0) {
        for (std::string& cell : cells) cell.clear();
        return;
    }
    const char* p = RowBytes(where);
    for (std::string& cell : cells) {
        const std::size_t length = GetLength(p);
        cell.assign(p, length);
        p += length;
    }
}

void TRowStore::ReadRowViews(int row, std::vector<std::string_view>& cells) const
{
    const Location& where = rows_.at(static_cast<std::size_t>(row));
    const bool empty = where.size == 0;
    DecodeRowViews(empty ? nullptr : RowBytes(where), empty, cells, colCount_);
}

TRowSnapshot TRowStore::Snapshot() const
{
    TRowSnapshot snapshot;
    snapshot.colCount_ = colCount_;
    snapshot.rows_.assign(rows_.begin(), rows_.end());
    snapshot.blocks_.reserve(blocks_.size());
    for (std::size_t i = 0; i + 1 < blocks_.size(); ++i) snapshot.blocks_.push_back(blocks_[i].bytes);
    // The last block is still written, its newest row even in place: copied.
    if (!blocks_.empty()) {
        const Block& last = blocks_.back();
        std::shared_ptr<char[]> copy(new char[std::max<std::size_t>(last.used, 1)]);
        std::memcpy(copy.get(), last.bytes.get(), last.used);
        snapshot.blocks_.push_back(std::move(copy));
    }
    return snapshot;
}

void TRowStore::WriteRow(int row, std::span<const std::string> cells)
{
    Location& where = rows_.at(static_cast<std::size_t>(row));
    const bool empty = std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
    if (empty) {
        where = {};
        return;
    }
    scratch_.clear();
    for (int c = 0; c < colCount_; ++c) {
        const std::size_t i = static_cast<std::size_t>(c);
        if (i < cells.size()) {
            PutLength(scratch_, cells[i].size());
            scratch_ += cells[i];
        } else {
            PutLength(scratch_, 0);
        }
    }
    where = Place(scratch_, where);
}

TRowStore::Location TRowStore::Place(const std::string& encoded, const Location& old)
{
    // The newest row is rewritten where it stands; an older one moves to the
    // end and leaves its old bytes unused, which only rare edits do.
    if (old.size != 0 && old.block + 1 == blocks_.size() &&
        old.offset + old.size == blocks_.back().used) {
        blocks_.back().used = old.offset;
    }
    if (blocks_.empty() || blocks_.back().used + encoded.size() > blocks_.back().capacity) {
        Block block;
        block.capacity = std::max(BlockSize, encoded.size());
        block.bytes = std::shared_ptr<char[]>(new char[block.capacity]);
        blocks_.push_back(std::move(block));
    }
    Block& block = blocks_.back();
    const Location where{static_cast<std::uint32_t>(blocks_.size() - 1),
                         static_cast<std::uint32_t>(block.used),
                         static_cast<std::uint32_t>(encoded.size())};
    std::memcpy(block.bytes.get() + block.used, encoded.data(), encoded.size());
    block.used += encoded.size();
    return where;
}

std::size_t TRowStore::BytesHeld() const
{
    std::size_t bytes = blocks_.capacity() * sizeof(Block) + rows_.size() * sizeof(Location);
    for (const Block& block : blocks_) bytes += block.capacity;
    return bytes;
}

}  // namespace gasmixer
