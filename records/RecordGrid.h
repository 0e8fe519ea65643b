#pragma once

#include "records/RowStore.h"

#include <span>
#include <string>
#include <vector>

namespace gasmixer {

// Told of every change of a TRecordGrid, so that a view can follow it.
class TRecordGridObserver {
public:
    virtual ~TRecordGridObserver() = default;
    virtual void RowAboutToBeAdded(int row) = 0;
    virtual void RowAdded(int row) = 0;
    virtual void CellChanged(int col, int row) = 0;
    virtual void RowChanged(int row) = 0;
};

// The produced-mixture table as text: row 0 is the header row, data rows
// follow. Cells are addressed (column, row). Rows are stored packed, so a
// day of records costs about the size of its saved text.
class TRecordGrid {
public:
    explicit TRecordGrid(int colCount, int rowCount = 2);

    int ColCount() const { return rows_.ColCount(); }
    int RowCount() const { return rows_.RowCount(); }

    // Out-of-range cells read as empty; writing one throws std::out_of_range.
    std::string Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);

    // A whole row at once, told to the observer as one change.
    void ReadRow(int row, std::vector<std::string>& cells) const;
    // Views into the table, valid until its next change.
    void ReadRowViews(int row, std::vector<std::string_view>& cells) const;
    void SetRow(int row, std::span<const std::string> cells);
    // The table as it is now, for a reader on another thread.
    TRowSnapshot Snapshot() const { return rows_.Snapshot(); }

    // Appends an empty row; returns its index.
    int AddRow();

    // At most one observer; pass nullptr to detach.
    void SetObserver(TRecordGridObserver* observer) { observer_ = observer; }

    std::size_t BytesHeld() const { return rows_.BytesHeld(); }

private:
    void CheckRow(int row) const;

    TRowStore rows_;
    std::vector<std::string> scratch_;
    TRecordGridObserver* observer_ = nullptr;
};

}  // namespace gasmixer
