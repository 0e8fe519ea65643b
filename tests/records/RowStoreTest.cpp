#include "records/RowStore.h"

#include <gtest/gtest.h>

#include <string>
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

}  // namespace
}  // namespace gasmixer::test
