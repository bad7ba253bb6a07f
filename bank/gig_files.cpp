#include "bank/gig_files.h"

#include <charconv>
#include <filesystem>

#include "bank/file_io.h"
#include "services/dialogs.h"

namespace cadenzo {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kGmKey = "GM";
// Far more than the longest file of either kind; the rest of a longer one is
// reported and left out.
constexpr size_t kLongestFile = 1 << 20;

// The byte length of the UTF-8 sequence starting at text[i], or 0 when it is
// not a valid one (overlong forms, surrogates and values past U+10FFFF
// included).
size_t SequenceLength(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t lead = byte(i);
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(i + k) & 0x3Fu);
    }
    constexpr std::array<uint32_t, 5> kSmallest{0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return length;
}

bool IsControl(std::string_view text, size_t i, size_t length) {
    const auto lead = static_cast<uint8_t>(text[i]);
    if (length == 1) return lead < 0x20 || lead == 0x7F;
    return length == 2 && lead == 0xC2 && static_cast<uint8_t>(text[i + 1]) < 0xA0;  // U+0080..U+009F
}

std::string BesideBlendFile(const std::string& blendFile, const char* extension) {
    return std::filesystem::path(blendFile).replace_extension(extension).string();
}

// Whole lines, without their line ends (LF or CR LF) and without a byte-order
// mark before the first; `use` returns the problem of a line or "".
template <class Use>
ParseReport ForEachLine(std::string_view text, Use use) {
    ParseReport report;
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    size_t number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        if (const std::string problem = use(line); !problem.empty())
            report.problems.push_back("line " + std::to_string(number) + ": " + problem);
    }
    return report;
}

// A mix number of one to three digits, 0..127, at the start of `text`;
// `used` is how many characters it took.
std::optional<uint8_t> MixNumber(std::string_view text, size_t& used) {
    used = 0;
    while (used < text.size() && used < 4 && text[used] >= '0' && text[used] <= '9') ++used;
    unsigned value = 0;
    if (used == 0 || used > 3 || std::from_chars(text.data(), text.data() + used, value).ec != std::errc{} ||
        value >= kPrograms)
        return std::nullopt;
    return static_cast<uint8_t>(value);
}

std::string NotAMix(std::string_view text) {
    return "\"" + std::string(text.substr(0, 8)) + "\" is not a mix number from 0 to 127";
}

// Checks a text read from a file; a long one is cut and reported, one that
// cannot be used is reported and left out.
std::optional<std::string> FileText(std::string_view text, size_t characters, std::string& problem) {
    CheckedText checked = CheckText(text, characters);
    problem = checked.problem;
    return checked.text;
}

std::string ReadText(const std::string& path, std::vector<std::string>& problems) {
    if (!FileExists(path)) return {};
    std::string text(kLongestFile + 1, '\0');
    text.resize(ReadFilePrefix(path, reinterpret_cast<uint8_t*>(text.data()), text.size()));
    if (text.size() > kLongestFile) {
        text.resize(text.rfind('\n', kLongestFile) == std::string::npos ? 0 : text.rfind('\n', kLongestFile) + 1);
        problems.push_back("the file is longer than 1 MiB: only its first lines were read");
    }
    return text;
}

void ReportProblems(Dialogs& dialogs, const std::string& path, const std::vector<std::string>& problems) {
    if (problems.empty()) return;
    constexpr size_t kShown = 10;
    std::string text = path + " has lines that were left out or cut:";
    for (size_t i = 0; i < problems.size() && i < kShown; ++i) text += "\n" + problems[i];
    if (problems.size() > kShown) text += "\n(and " + std::to_string(problems.size() - kShown) + " more)";
    dialogs.MessageBox(text, "Cadenzo", MessageIcon::Error);
}

template <class Parse, class Part>
void LoadTextFile(const std::string& path, Part& part, Parse parse, Dialogs& dialogs) {
    std::vector<std::string> problems;
    const std::string text = ReadText(path, problems);
    part = Part{};
    for (std::string& problem : parse(text, part).problems) problems.push_back(std::move(problem));
    ReportProblems(dialogs, path, problems);
}

void SaveText(const std::string& path, const std::string& text, Dialogs& dialogs) {
    if (text.empty() && !FileExists(path)) return;
    if (!ReplaceFileContent(path, reinterpret_cast<const uint8_t*>(text.data()), text.size()))
        dialogs.MessageBox("Error Writing File " + path + " !", "Bad Write");
}

}  // namespace

CheckedText CheckText(std::string_view text, size_t characters) {
    size_t count = 0;
    size_t cut = text.size();
    for (size_t i = 0; i < text.size();) {
        const size_t length = SequenceLength(text, i);
        if (length == 0) return {std::nullopt, "the text is not UTF-8"};
        if (IsControl(text, i, length)) return {std::nullopt, "the text holds a control character"};
        if (count == characters && cut == text.size()) cut = i;
        ++count;
        i += length;
    }
    if (count <= characters) return {std::string(text), ""};
    return {std::string(text.substr(0, cut)), "the text was cut to " + std::to_string(characters) + " characters"};
}

std::optional<uint32_t> EntryOfMix(const SetList& list, uint32_t mix) {
    if (list.Position < list.Count && list.Entries[list.Position].Mix == mix) return list.Position;
    for (uint32_t i = 0; i < list.Count; ++i)
        if (list.Entries[i].Mix == mix) return i;
    return std::nullopt;
}

std::string NamesFileFor(const std::string& blendFile) { return BesideBlendFile(blendFile, ".names"); }
std::string SetListFileFor(const std::string& blendFile) { return BesideBlendFile(blendFile, ".setlist"); }

ParseReport ParseNames(std::string_view text, MixNames& names) {
    return ForEachLine(text, [&](std::string_view line) -> std::string {
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) return "no \"=\" after the mix number";
        const std::string_view key = line.substr(0, equals);
        size_t slot = kGmSlot;
        if (key != kGmKey) {
            size_t used = 0;
            const std::optional<uint8_t> mix = MixNumber(key, used);
            if (!mix || used != key.size()) return NotAMix(key);
            slot = *mix;
        }
        std::string problem;
        if (auto name = FileText(line.substr(equals + 1), kNameCharacters, problem)) names.Names[slot] = *name;
        return problem;
    });
}

std::string NamesText(const MixNames& names) {
    std::string text;
    for (size_t slot = 0; slot < names.Names.size(); ++slot) {
        if (names.Names[slot].empty()) continue;
        std::string key = std::to_string(slot);
        key = slot == kGmSlot ? std::string(kGmKey) : std::string(3 - key.size(), '0') + key;
        text += key + "=" + names.Names[slot] + "\n";
    }
    return text;
}

ParseReport ParseSetList(std::string_view text, SetList& list) {
    return ForEachLine(text, [&](std::string_view line) -> std::string {
        line.remove_prefix(line.find_first_not_of(" \t"));
        size_t used = 0;
        const std::optional<uint8_t> mix = MixNumber(line, used);
        if (!mix || (used < line.size() && line[used] != ' ' && line[used] != '\t'))
            return NotAMix(line.substr(0, line.find_first_of(" \t")));
        if (list.Count == kSetListCapacity)
            return "the set list holds " + std::to_string(kSetListCapacity) + " entries at most";
        std::string_view title = line.substr(used);
        title.remove_prefix(std::min(title.size(), title.find_first_not_of(" \t")));
        std::string problem;
        auto checked = FileText(title, kTitleCharacters, problem);
        list.Entries[list.Count++] = {*mix, checked.value_or("")};
        return problem;
    });
}

std::string SetListText(const SetList& list) {
    std::string text;
    for (uint32_t i = 0; i < list.Count; ++i) {
        const SetListEntry& entry = list.Entries[i];
        text += std::to_string(entry.Mix) + (entry.Title.empty() ? "" : " " + entry.Title) + "\n";
    }
    return text;
}

void LoadGigFiles(const std::string& blendFile, MixNames& names, SetList& list, Dialogs& dialogs) {
    LoadTextFile(NamesFileFor(blendFile), names, &ParseNames, dialogs);
    LoadTextFile(SetListFileFor(blendFile), list, &ParseSetList, dialogs);
}

void SaveNamesFile(const std::string& blendFile, const MixNames& names, Dialogs& dialogs) {
    SaveText(NamesFileFor(blendFile), NamesText(names), dialogs);
}

void SaveSetListFile(const std::string& blendFile, const SetList& list, Dialogs& dialogs) {
    SaveText(SetListFileFor(blendFile), SetListText(list), dialogs);
}

}  // namespace cadenzo
