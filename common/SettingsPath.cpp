#include "common/SettingsPath.h"

#include <cstdlib>

namespace gasmixer {

std::string DefaultSettingsPath()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::string(config) + "/gasmixer/gasmixer.conf";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/gasmixer/gasmixer.conf";
}

}  // namespace gasmixer
