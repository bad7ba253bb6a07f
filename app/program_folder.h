// The program's folder: where "Ostinata.opt", "Ostinata.ports" and
// "def.cdb" live. Every file the program opens by itself is named relative
// to the current directory, so the folder is entered once, before start-up,
// and every one of them follows it.
#pragma once

#include <string>

namespace cadenzo {

// `dir` with a leading "~" or "~/" standing for `home` (a launcher passes
// the tilde on unexpanded); any other name as it is.
std::string ExpandHome(const std::string& dir, const std::string& home);

// Makes the folder (and its parents) when missing and makes it the current
// directory. On failure returns false with the reason in `error`, and the
// current directory is unchanged.
bool EnterProgramFolder(const std::string& dir, std::string& error);

}  // namespace cadenzo
