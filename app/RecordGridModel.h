#pragma once

#include "records/RecordGrid.h"

#include <QAbstractTableModel>

namespace gasmixer {

// Shows a TRecordGrid in a Qt view: row 0 becomes the horizontal header,
// rows 1.. the data rows.
class TRecordGridModel final : public QAbstractTableModel, private TRecordGridObserver {
    Q_OBJECT
public:
    explicit TRecordGridModel(TRecordGrid& grid, QObject* parent = nullptr);
    ~TRecordGridModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void RowAboutToBeAdded(int row) override;
    void RowAdded(int row) override;
    void CellChanged(int col, int row) override;
    void RowChanged(int row) override;

    TRecordGrid& grid_;
};

}  // namespace gasmixer
