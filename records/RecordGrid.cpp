#include "records/RecordGrid.h"

#include <stdexcept>

namespace gasmixer {

TRecordGrid::TRecordGrid(int colCount, int rowCount) : rows_(colCount)
{
    for (int row = 0; row < rowCount; ++row) rows_.AppendEmptyRow();
}

void TRecordGrid::CheckRow(int row) const
{
    if (row < 0 || row >= RowCount()) throw std::out_of_range("Grid index out of range");
}

std::string TRecordGrid::Cell(int col, int row) const
{
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return {};
    return rows_.Cell(col, row);
}

void TRecordGrid::SetCell(int col, int row, std::string text)
{
    CheckRow(row);
    if (col < 0 || col >= ColCount()) throw std::out_of_range("Grid index out of range");
    rows_.ReadRow(row, scratch_);
    scratch_[static_cast<std::size_t>(col)] = std::move(text);
    rows_.WriteRow(row, scratch_);
    if (observer_) observer_->CellChanged(col, row);
}

void TRecordGrid::ReadRow(int row, std::vector<std::string>& cells) const
{
    CheckRow(row);
    rows_.ReadRow(row, cells);
}

void TRecordGrid::ReadRowViews(int row, std::vector<std::string_view>& cells) const
{
    CheckRow(row);
    rows_.ReadRowViews(row, cells);
}

void TRecordGrid::SetRow(int row, std::span<const std::string> cells)
{
    CheckRow(row);
    rows_.WriteRow(row, cells);
    if (observer_) observer_->RowChanged(row);
}

int TRecordGrid::AddRow()
{
    const int row = RowCount();
    if (observer_) observer_->RowAboutToBeAdded(row);
    rows_.AppendEmptyRow();
    if (observer_) observer_->RowAdded(row);
    return row;
}

}  // namespace gasmixer
