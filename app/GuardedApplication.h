#pragma once

#include <QApplication>

#include <functional>
#include <string>

namespace gasmixer {

// An error raised in a window event or timer tick ends that event only: it
// is handed to the error handler and the program keeps running.
class GuardedApplication final : public QApplication {
public:
    using ErrorHandler = std::function<void(const std::string&)>;

    GuardedApplication(int& argc, char** argv);

    void SetErrorHandler(ErrorHandler handler) { handler_ = std::move(handler); }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void Handle(const std::string& message);

    ErrorHandler handler_;
};

}  // namespace gasmixer
