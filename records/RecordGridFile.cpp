#include "records/RecordGridFile.h"

#include "records/RecordFile.h"

#include <memory>
#include <string_view>
#include <vector>

namespace gasmixer {

ContentProducer RecordGridFile(TRowSnapshot rows, std::string planText)
{
    // Shared: a content producer may be copied, and the row index is large.
    auto table = std::make_shared<const TRowSnapshot>(std::move(rows));
    return [table, planText = std::move(planText)](const ByteSink& write) {
        write(RecordFilePreamble(planText));
        std::vector<char> chunk(std::size_t{1} << 20);
        std::size_t used = 0;
        std::vector<std::string_view> cells;
        for (int row = 0; row < table->RowCount(); ++row) {
            table->ReadRowViews(row, cells);
            const std::size_t bound = RecordFileLineBound(cells);
            if (used + bound > chunk.size()) {
                write(std::string_view(chunk.data(), used));
                used = 0;
                if (bound > chunk.size()) chunk.resize(bound);
            }
            used = static_cast<std::size_t>(WriteRecordFileLine(chunk.data() + used, cells, row == 0) - chunk.data());
        }
        write(std::string_view(chunk.data(), used));
    };
}

}  // namespace gasmixer
