#include "app/GuardedApplication.h"

#include <QDebug>

#include <exception>

namespace gasmixer {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        Handle(error.what());
    } catch (...) {
        Handle("Unknown error");
    }
    return false;
}

void GuardedApplication::Handle(const std::string& message)
{
    if (handler_) {
        handler_(message);
    } else {
        qWarning().noquote() << QString::fromStdString(message);
    }
}

}  // namespace gasmixer
