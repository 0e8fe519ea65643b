#pragma once

#include "records/RecordGrid.h"
#include "records/AtomicFileWriter.h"

#include <string>

namespace gasmixer {

// The saved file of a table: the plan text, then every grid row. The grid
// must not change while the content is being written.
ContentProducer RecordGridFile(const TRecordGrid& grid, std::string planText);

}  // namespace gasmixer
