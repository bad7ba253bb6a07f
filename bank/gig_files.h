// The text files kept beside a blend file, named after it: the mix names
// (`def.cdb` -> `def.names`, one "NNN=name" line per named mix, "GM=name"
// for the GM set-up) and the set list (`def.setlist`, one entry a line: the
// mix number, then an optional song title). They are written at every change
// and never inside the blend file, whose layout stays as it is. Main thread
// only, but for the set list's mix numbers, which the playing path reads
// holding the engine lock.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bank/mix_records.h"

namespace cadenzo {

class Dialogs;

inline constexpr size_t kNameCharacters = 32;   // a mix name, in characters
inline constexpr size_t kTitleCharacters = 64;  // a song title, in characters
inline constexpr size_t kSetListCapacity = 256;

// A text a player typed or a file held, checked: valid UTF-8 without
// control characters, cut to `characters` characters. `problem` says what
// was wrong ("" when nothing was); text that is not UTF-8 or holds control
// characters is refused (nothing), a long one is cut and kept.
struct CheckedText {
    std::optional<std::string> text;
    std::string problem;
};
CheckedText CheckText(std::string_view text, size_t characters);

struct MixNames {
    std::array<std::string, kBankSlots> Names{};  // slot 128 the GM set-up; "" unnamed
};

struct SetListEntry {
    uint8_t Mix = 0;
    std::string Title;
};

struct SetList {
    std::array<SetListEntry, kSetListCapacity> Entries{};
    uint32_t Count = 0;
    // The entry last stepped or jumped to; it counts while it holds the
    // current mix (a mix may stand in the list more than once).
    uint32_t Position = 0;
};

// The entry that stands for `mix`: the position while it holds that mix,
// else the first entry of it; nothing for a mix not in the list.
std::optional<uint32_t> EntryOfMix(const SetList& list, uint32_t mix);

// What a file's text held, and a line for each line it could not use.
struct ParseReport {
    std::vector<std::string> problems;  // "line 3: ...", in order
};

// `def.cdb` -> `def.names` / `def.setlist`, in the blend file's folder.
std::string NamesFileFor(const std::string& blendFile);
std::string SetListFileFor(const std::string& blendFile);

ParseReport ParseNames(std::string_view text, MixNames& names);
std::string NamesText(const MixNames& names);
ParseReport ParseSetList(std::string_view text, SetList& list);
std::string SetListText(const SetList& list);

// Both files beside `blendFile`: a missing file leaves its part empty; lines
// that cannot be used are named in one message box and left out. Raises
// FileError when a file exists but cannot be opened.
void LoadGigFiles(const std::string& blendFile, MixNames& names, SetList& list, Dialogs& dialogs);

// Writes one file beside `blendFile` in one step. A file that does not exist
// is not made while it would be empty, so a program without names or set
// list leaves no trace. A short write is reported and leaves the old file.
// Raises FileError when the file cannot be created.
void SaveNamesFile(const std::string& blendFile, const MixNames& names, Dialogs& dialogs);
void SaveSetListFile(const std::string& blendFile, const SetList& list, Dialogs& dialogs);

}  // namespace cadenzo
