#include "bank/window_title.h"

#include <filesystem>

namespace cadenzo {

std::optional<std::string> LoadedBlendTitle(const std::string& path) {
    const std::filesystem::path p(path);
    const std::string name = p.stem().string();
    const std::string extension = p.extension().string();
    if (name.empty() || extension.empty()) return std::nullopt;
    return std::string(kMainTitle) + "  -  Loaded Blend File:  [ " + name + extension + " ]";
}

}  // namespace cadenzo
