#include "mixer/ThreadWake.h"

#include <QCoreApplication>
#include <QEvent>

namespace gasmixer {

namespace {
const QEvent::Type WakeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
}

ThreadWake::ThreadWake(std::function<void()> call, QObject* parent) : QObject(parent), call_(std::move(call)) {}

void ThreadWake::Wake() { QCoreApplication::postEvent(this, new QEvent(WakeEvent)); }

bool ThreadWake::event(QEvent* event)
{
    if (event->type() != WakeEvent) return QObject::event(event);
    call_();
    return true;
}

}  // namespace gasmixer
