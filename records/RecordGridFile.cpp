#include "records/RecordGridFile.h"

#include "records/RecordFile.h"

#include <string_view>
#include <vector>

namespace gasmixer {

ContentProducer RecordGridFile(const TRecordGrid& grid, std::string planText)
{
    return [&grid, planText = std::move(planText)](const ByteSink& write) {
        constexpr std::size_t ChunkSize = 1 << 20;
        std::string chunk = RecordFilePreamble(planText);
        std::vector<std::string_view> cells;
        for (int row = 0; row < grid.RowCount(); ++row) {
            grid.ReadRowViews(row, cells);
            AppendRecordFileLine(chunk, cells, row == 0);
            if (chunk.size() >= ChunkSize) {
                write(chunk);
                chunk.clear();
            }
        }
        write(chunk);
    };
}

}  // namespace gasmixer
