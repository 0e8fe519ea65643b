#include "records/RowStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace gasmixer::test {
namespace {

TEST(RowStoreTest, RowsReadBackAsWrittenWhateverWasRewrittenAfterThem)
{
    TRowStore store(3);
    for (int i = 0; i < 4; ++i) store.AppendEmptyRow();
    const std::vector<std::string> first{"a", "", "ccc"};
    store.WriteRow(1, first);
    store.WriteRow(3, std::vector<std::string>{"last"});
    // An older row rewritten longer, the newest rewritten shorter.
    store.WriteRow(1, std::vector<std::string>{"a", std::string(300, 'b'), "ccc"});
    store.WriteRow(3, std::vector<std::string>{"", "", "z"});

    std::vector<std::string> cells;
    store.ReadRow(1, cells);
    EXPECT_EQ(cells, (std::vector<std::string>{"a", std::string(300, 'b'), "ccc"}));
    store.ReadRow(3, cells);
    EXPECT_EQ(cells, (std::vector<std::string>{"", "", "z"}));
    store.ReadRow(2, cells);
    EXPECT_EQ(cells, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(store.Cell(1, 1), std::string(300, 'b'));
    EXPECT_EQ(store.Cell(2, 0), "");
}

TEST(RowStoreTest, ManyRowsAcrossBlocksAndARowLargerThanABlock)
{
    TRowStore store(2);
    const int rows = 30000;
    for (int i = 0; i < rows; ++i) {
        store.AppendEmptyRow();
        store.WriteRow(i, std::vector<std::string>{std::to_string(i), std::string(40, 'x')});
    }
    const std::string huge(3u << 20, 'h');
    store.AppendEmptyRow();
    store.WriteRow(rows, std::vector<std::string>{huge, "end"});

    for (const int i : {0, 1, 12345, rows - 1}) EXPECT_EQ(store.Cell(0, i), std::to_string(i));
    EXPECT_EQ(store.Cell(0, rows), huge);
    EXPECT_EQ(store.Cell(1, rows), "end");
}

std::vector<std::string> SnapshotRow(const TRowSnapshot& snapshot, int row)
{
    std::vector<std::string_view> views;
    snapshot.ReadRowViews(row, views);
    return std::vector<std::string>(views.begin(), views.end());
}

// A save reads the snapshot on another thread while the run goes on: what
// the store does after must not reach it, nor the store's end.
TEST(RowStoreTest, ASnapshotKeepsTheRowsAsTheyWereWhateverTheStoreDoesAfter)
{
    auto store = std::make_unique<TRowStore>(2);
    const int filled = 30000;  // several blocks
    for (int i = 0; i < filled; ++i) {
        store->AppendEmptyRow();
        store->WriteRow(i, std::vector<std::string>{std::to_string(i), std::string(40, 'x')});
    }
    store->AppendEmptyRow();  // an empty newest row
    const TRowSnapshot snapshot = store->Snapshot();

    store->WriteRow(filled - 1, std::vector<std::string>{"newest", "rewritten in place"});
    store->WriteRow(0, std::vector<std::string>{"oldest", "moved to the end"});
    store->WriteRow(filled, std::vector<std::string>{"filled", "later"});
    for (int i = 0; i < filled; ++i) {
        store->AppendEmptyRow();
        store->WriteRow(store->RowCount() - 1, std::vector<std::string>{"more", std::string(40, 'y')});
    }
    store.reset();

    ASSERT_EQ(snapshot.RowCount(), filled + 1);
    EXPECT_EQ(snapshot.ColCount(), 2);
    for (const int row : {0, filled / 2, filled - 1}) {
        EXPECT_EQ(SnapshotRow(snapshot, row), (std::vector<std::string>{std::to_string(row), std::string(40, 'x')}));
    }
    EXPECT_EQ(SnapshotRow(snapshot, filled), (std::vector<std::string>{"", ""}));
}

TEST(RowStoreTest, ASnapshotOfAStoreWithoutTextHasItsEmptyRows)
{
    TRowStore store(3);
    store.AppendEmptyRow();
    const TRowSnapshot snapshot = store.Snapshot();
    ASSERT_EQ(snapshot.RowCount(), 1);
    EXPECT_EQ(SnapshotRow(snapshot, 0), (std::vector<std::string>{"", "", ""}));
}

}  // namespace
}  // namespace gasmixer::test
