#include "app/GuardedApplication.h"

#include <QDebug>
#include <QThread>

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
    if (!handler_) {
        qWarning().noquote() << QString::fromStdString(message);
        return;
    }
    // The handler shows the error in the window, which lives on its own thread.
    if (QThread::currentThread() == thread()) {
        handler_(message);
    } else {
        QMetaObject::invokeMethod(this, [this, message] { Handle(message); }, Qt::QueuedConnection);
    }
}

}  // namespace gasmixer
