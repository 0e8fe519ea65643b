#include "app/PlotImagePath.h"

#include <filesystem>
#include <system_error>

namespace gasmixer {

std::optional<std::string> AskPlotImagePath(OperatorDialogs& dialogs)
{
    SaveDialogSettings settings;
    settings.Filter = "PNG image (*.png)";
    settings.DefaultExt = "png";
    settings.FileName = "mixture plot.png";
    std::optional<std::string> path = dialogs.SaveFile(settings);
    if (!path) return std::nullopt;
    // The dialog does not ask before overwriting.
    std::error_code error;
    if (std::filesystem::exists(*path, error) &&
        !dialogs.Question(*path + " already exists. Replace it?", "Save plot as PNG"))
        return std::nullopt;
    return path;
}

}  // namespace gasmixer
