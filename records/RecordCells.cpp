#include "records/RecordCells.h"

#include "common/TextFormat.h"

namespace gasmixer {

void WriteRecordCells(const RecordRow& record, const TColumnInfo& columns,
                      std::vector<std::string>& cells)
{
    for (int field = 0; field < RecordFieldCount; ++field) {
        const RColInfo& column = columns[static_cast<std::size_t>(field)];
        if (column.ColID < 0 || static_cast<std::size_t>(column.ColID) >= cells.size()) continue;
        std::string& cell = cells[static_cast<std::size_t>(column.ColID)];
        const auto& value = record.Values[static_cast<std::size_t>(field)];
        switch (field) {
        case FieldMode: cell = record.Mode; break;
        case FieldMethod: cell = record.Method; break;
        case FieldTime: cell = FormatDateTime(column.Format, *value); break;
        default:
            if (value) cell = FormatFloat(column.Format, *value);
        }
    }
}

}  // namespace gasmixer
