#include "records/RecordGrid.h"
#include "app/RecordGridModel.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <stdexcept>

namespace gasmixer::test {
namespace {

TEST(RecordGridTest, StartsWithHeaderAndOneEmptyRow)
{
    const TRecordGrid grid(20);
    EXPECT_EQ(grid.ColCount(), 20);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(0, 1), "");
    EXPECT_EQ(grid.Cell(20, 0), "") << "outside the grid reads as empty";
    EXPECT_EQ(grid.Cell(0, -1), "");
}

TEST(RecordGridTest, WritesOutsideTheGridAreRefused)
{
    TRecordGrid grid(3);
    EXPECT_THROW(grid.SetCell(3, 0, "x"), std::out_of_range);
    EXPECT_THROW(grid.SetCell(0, 2, "x"), std::out_of_range);
    EXPECT_EQ(grid.AddRow(), 2);
    grid.SetCell(2, 2, "x");
    EXPECT_EQ(grid.Cell(2, 2), "x");
}

TEST(RecordGridModelTest, HeaderRowBecomesTheHeaderAndDataRowsFollowChanges)
{
    TRecordGrid grid(3);
    TRecordGridModel model(grid);
    grid.SetCell(1, 0, "Mode");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Mode");
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 3);

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const int row = grid.AddRow();
    grid.SetCell(1, row, "Reset");

    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), "Reset");
}

TEST(RecordGridModelTest, GridOutlivingItsViewStopsReporting)
{
    TRecordGrid grid(2);
    {
        TRecordGridModel model(grid);
    }
    grid.AddRow();  // would reach a destroyed model otherwise
    grid.SetCell(0, 2, "x");
    EXPECT_EQ(grid.RowCount(), 3);
}

}  // namespace
}  // namespace gasmixer::test
