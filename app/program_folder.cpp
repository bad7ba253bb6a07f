#include "app/program_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace cadenzo {

std::string ExpandHome(const std::string& dir, const std::string& home) {
    if (dir == "~") return home;
    if (dir.starts_with("~/")) return home + dir.substr(1);
    return dir;
}

bool EnterProgramFolder(const std::string& dir, std::string& error) {
    const char* home = std::getenv("HOME");
    const std::filesystem::path folder = ExpandHome(dir, home ? home : "");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!ec) std::filesystem::current_path(folder, ec);
    if (ec) error = "Cannot use the folder '" + folder.string() + "': " + ec.message() + ".";
    return !ec;
}

}  // namespace cadenzo
