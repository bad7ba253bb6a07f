// The main window's title, plain and with the loaded blend file.
#pragma once

#include <optional>
#include <string>

namespace cadenzo {

inline constexpr const char* kMainTitle = " Tamberon MIDI Cadenzo  - (Audigy) - Version: 5.01 (FREE)";

// The title after loading `path`: the main title with the file's name and
// extension, or nothing when the path lacks either (the title then stays).
std::optional<std::string> LoadedBlendTitle(const std::string& path);

}  // namespace cadenzo
