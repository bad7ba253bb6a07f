// The main window's title, plain and with the loaded blend file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cadenzo {

inline constexpr const char* kMainTitle = " Tamberon MIDI Cadenzo  - (Audigy) - Version: 5.01 (FREE)";

// The version as the main title states it ("5.01"): the title is its one
// source, which the build reads too for the package's version.
constexpr std::string_view ProgramVersion() {
    constexpr std::string_view title = kMainTitle;
    constexpr std::string_view label = "Version: ";
    const std::string_view rest = title.substr(title.find(label) + label.size());
    return rest.substr(0, rest.find(' '));
}

// The title after loading `path`: the main title with the file's name and
// extension, or nothing when the path lacks either (the title then stays).
std::optional<std::string> LoadedBlendTitle(const std::string& path);

}  // namespace cadenzo
