#include "app/RecordGridModel.h"

namespace gasmixer {

TRecordGridModel::TRecordGridModel(TRecordGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid)
{
    grid_.SetObserver(this);
}

TRecordGridModel::~TRecordGridModel() { grid_.SetObserver(nullptr); }

int TRecordGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : grid_.RowCount() - 1;
}

int TRecordGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : grid_.ColCount();
}

QVariant TRecordGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return QString::fromStdString(grid_.Cell(index.column(), index.row() + 1));
}

QVariant TRecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return QString::fromStdString(grid_.Cell(section, 0));
    return section + 1;
}

void TRecordGridModel::RowAboutToBeAdded(int row) { beginInsertRows({}, row - 1, row - 1); }

void TRecordGridModel::RowAdded(int) { endInsertRows(); }

void TRecordGridModel::CellChanged(int col, int row)
{
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex cell = index(row - 1, col);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
}

void TRecordGridModel::RowChanged(int row)
{
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, 0, grid_.ColCount() - 1);
    } else {
        emit dataChanged(index(row - 1, 0), index(row - 1, grid_.ColCount() - 1), {Qt::DisplayRole});
    }
}

}  // namespace gasmixer
