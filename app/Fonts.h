#pragma once

#include <QFont>

namespace gasmixer {

// The window's font and the fixed-pitch font of its memos, with fallbacks
// for systems that lack the Windows families.
QFont WindowFont();
QFont CourierNewFont();

}  // namespace gasmixer
