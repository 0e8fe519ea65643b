#include "app/ErrorReporter.h"

#include "common/ScopedFlag.h"

#include <utility>

namespace gasmixer {

ErrorReporter::ErrorReporter(OperatorDialogs& dialogs, LineSink fallback)
    : dialogs_(dialogs), fallback_(std::move(fallback))
{
}

void ErrorReporter::Report(const std::string& message)
{
    if (boxOpen_) {
        fallback_(message);
        return;
    }
    const ScopedFlag open(boxOpen_);
    dialogs_.Error(message);
}

}  // namespace gasmixer
