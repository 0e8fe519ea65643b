#pragma once

#include "app/OperatorDialogs.h"

#include <functional>
#include <string>

namespace gasmixer {

// Shows an error that ended a window event. Error boxes never stack: while
// one is open, further errors go to the fallback line sink.
class ErrorReporter {
public:
    using LineSink = std::function<void(const std::string&)>;

    ErrorReporter(OperatorDialogs& dialogs, LineSink fallback);

    void Report(const std::string& message);

private:
    OperatorDialogs& dialogs_;
    LineSink fallback_;
    bool boxOpen_ = false;
};

}  // namespace gasmixer
