#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gasmixer {

namespace rowstore {
struct Location {
    std::uint32_t block = 0;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;  // 0: every cell empty
};
}  // namespace rowstore

// The rows of a store as they were at one moment. It shares the store's
// filled blocks, which never change again, so it is cheap to take and
// another thread may read it while the store goes on.
class TRowSnapshot {
public:
    int ColCount() const { return colCount_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // All cells of a row, valid as long as the snapshot.
    void ReadRowViews(int row, std::vector<std::string_view>& cells) const;

private:
    friend class TRowStore;
    int colCount_ = 0;
    std::vector<std::shared_ptr<const char[]>> blocks_;
    std::vector<rowstore::Location> rows_;
};

// Rows of text cells packed into large blocks: each row is its cells'
// lengths and bytes back to back, so a row costs little more than its text
// and appending never moves what is already stored.
class TRowStore {
public:
    explicit TRowStore(int colCount);

    int ColCount() const { return colCount_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }

    void AppendEmptyRow();
    std::string Cell(int col, int row) const;
    // All cells of a row into `cells` (resized to ColCount).
    void ReadRow(int row, std::vector<std::string>& cells) const;
    // The same without copies: the views stay valid until the next write.
    void ReadRowViews(int row, std::vector<std::string_view>& cells) const;
    // Replaces a whole row; missing trailing cells become empty.
    void WriteRow(int row, std::span<const std::string> cells);

    TRowSnapshot Snapshot() const;

    // Bytes the store holds on the heap, blocks and row index together.
    std::size_t BytesHeld() const;

private:
    using Location = rowstore::Location;
    // Only the last block is ever written; the others are shared by snapshots.
    struct Block {
        std::shared_ptr<char[]> bytes;
        std::size_t capacity = 0;
        std::size_t used = 0;
    };

    Location Place(const std::string& encoded, const Location& old);
    const char* RowBytes(const Location& where) const;

    int colCount_;
    std::vector<Block> blocks_;
    std::deque<Location> rows_;
    std::string scratch_;
};

}  // namespace gasmixer
