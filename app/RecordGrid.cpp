#include "app/RecordGrid.h"

#include <stdexcept>

namespace gasmixer {

namespace {
const std::string EmptyCell;
}

TRecordGrid::TRecordGrid(int colCount, int rowCount)
    : colCount_(colCount),
      rows_(static_cast<std::size_t>(rowCount), std::vector<std::string>(static_cast<std::size_t>(colCount)))
{
}

const std::string& TRecordGrid::Cell(int col, int row) const
{
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return EmptyCell;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TRecordGrid::SetCell(int col, int row, std::string text)
{
    if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) {
        throw std::out_of_range("Grid index out of range");
    }
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
    if (observer_) observer_->CellChanged(col, row);
}

int TRecordGrid::AddRow()
{
    const int row = RowCount();
    if (observer_) observer_->RowAboutToBeAdded(row);
    rows_.emplace_back(static_cast<std::size_t>(colCount_));
    if (observer_) observer_->RowAdded(row);
    return row;
}

}  // namespace gasmixer
