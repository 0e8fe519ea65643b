#pragma once

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
};

// The produced-mixture table as text: row 0 is the header row, data rows
// follow. Cells are addressed (column, row).
class TRecordGrid {
public:
    explicit TRecordGrid(int colCount, int rowCount = 2);

    int ColCount() const { return colCount_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }

    // Out-of-range cells read as empty; writing one throws std::out_of_range.
    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);

    // Appends an empty row; returns its index.
    int AddRow();

    // At most one observer; pass nullptr to detach.
    void SetObserver(TRecordGridObserver* observer) { observer_ = observer; }

private:
    int colCount_;
    std::vector<std::vector<std::string>> rows_;
    TRecordGridObserver* observer_ = nullptr;
};

}  // namespace gasmixer
