#pragma once

#include <string>

namespace gasmixer {

// The file every command remembers its settings in:
// $XDG_CONFIG_HOME/gasmixer/gasmixer.conf, or under ~/.config without it.
// Read from the environment at each call, so that a changed config home is
// followed.
std::string DefaultSettingsPath();

}  // namespace gasmixer
