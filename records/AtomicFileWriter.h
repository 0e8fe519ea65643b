#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace gasmixer {

struct WriteOutcome {
    bool Ok = false;
    std::string Error;  // what failed, empty on success
};

// Hands the file's bytes, piece by piece, to the sink it is given.
using ByteSink = std::function<void(std::string_view)>;
using ContentProducer = std::function<void(const ByteSink&)>;

// Writes the whole content to a temporary file in the target's folder,
// flushes it to disk and only then renames it over the target. On any
// failure the temporary file is removed and the target is left as it was.
// Never throws for a file-system failure.
WriteOutcome WriteFileAtomically(const std::string& path, const ContentProducer& produce);

}  // namespace gasmixer
