#include "app/ErrorReporter.h"

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
    struct BoxOpen {
        bool& flag;
        explicit BoxOpen(bool& f) : flag(f) { flag = true; }
        ~BoxOpen() { flag = false; }
    } open(boxOpen_);
    dialogs_.Error(message);
}

}  // namespace gasmixer
