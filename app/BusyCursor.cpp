#include "app/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace gasmixer {

BusyCursor::BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }

BusyCursor::~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }

}  // namespace gasmixer
