#pragma once

#include "records/ColumnInfo.h"
#include "records/RecordRow.h"

#include <string>
#include <vector>

namespace gasmixer {

// Writes a stored row into the grid row `cells` (one text per grid column),
// each value through its column's ColID and Format. Cells with no value keep
// what they held.
void WriteRecordCells(const RecordRow& record, const TColumnInfo& columns,
                      std::vector<std::string>& cells);

}  // namespace gasmixer
