#pragma once

#include "records/AtomicFileWriter.h"
#include "records/RowStore.h"

#include <string>

namespace gasmixer {

// The saved file of a table: the plan text, then every row of the snapshot.
ContentProducer RecordGridFile(TRowSnapshot rows, std::string planText);

}  // namespace gasmixer
