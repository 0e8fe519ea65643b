#include "TempRuntimeDir.h"

#include <cstdlib>
#include <stdexcept>

namespace gasmixer::sim::test {

TempRuntimeDir::TempRuntimeDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "gasmixer-sim-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) saved_ = old;
    setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
}

TempRuntimeDir::~TempRuntimeDir()
{
    if (saved_)
        setenv("XDG_RUNTIME_DIR", saved_->c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace gasmixer::sim::test
