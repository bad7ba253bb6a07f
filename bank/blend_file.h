// The blend file: the whole bank as its raw 121776-byte image.
// Main thread only.
#pragma once

#include <string>

#include "bank/mix_bank.h"

namespace cadenzo {

class Dialogs;
class Display;

inline constexpr const char* kDefaultBlendFile = "def.cdb";

// Reads the bank from `path`. A missing or short file is reported in a
// message box and leaves the bank and `blendFileName` exactly as they were.
// An accepted file replaces the bank (bytes past the bank's size are never
// read), gets its fix-ups, becomes `blendFileName` and names the window
// title. Returns whether the file was accepted. Raises FileError when the
// file exists but cannot be opened.
bool LoadBlendFile(BankState& bank, std::string& blendFileName, const std::string& path,
                   Dialogs& dialogs, Display& display);

// Writes the whole bank to `path`, replacing the file in one step. A short
// write is reported in a message box, leaves the old file and returns false.
// Raises FileError when the file cannot be created.
bool SaveBlendFile(const BankState& bank, const std::string& path, Dialogs& dialogs);

// The same for a copy of the bank taken earlier.
bool SaveBankImage(const MixBank& bank, const std::string& path, Dialogs& dialogs);

// Repairs fields that older files hold as zero although their neutral value
// is not zero.
void ApplyBlendFixups(MixBank& bank);

// Where the bank goes at shutdown: the file last loaded; when none was
// loaded, the default file in the current directory as long as no file of
// that name exists (one that does was rejected at start-up and is kept).
std::string BlendFileForShutdown(const std::string& blendFileName);

}  // namespace cadenzo
