#include "ui/gig.h"

#include <algorithm>

#include "bank/blend_file.h"
#include "bank/file_io.h"
#include "engine/mix_steps.h"
#include "engine/system_state.h"
#include "services/dialogs.h"
#include "services/display.h"
#include "ui/program_text.h"
#include "ui/text_format.h"
#include "ui/virtual_keys.h"

namespace cadenzo {

namespace {

constexpr uint32_t kLastEntry = kSetListCapacity - 1;

bool InGmMode(const SystemState& s) { return s.Bank.GmMode.load(std::memory_order_relaxed); }

// A slot's number as the display shows it.
std::string SlotNumber(const SystemState& s, uint32_t slot) {
    if (slot >= kGmSlot) return "GM Mode";
    return ProgramText(static_cast<uint8_t>(slot), ReadU32(s.Options.ProgramDisplayMode));
}

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A text the player typed, checked; nothing when it was refused. What was
// wrong is said in a message box.
std::optional<std::string> TypedText(SystemState& s, std::string_view text, size_t characters, const char* what) {
    CheckedText checked = CheckText(Trimmed(text), characters);
    if (!checked.problem.empty())
        s.Io.dialogs->MessageBox(std::string(what) + (checked.text ? ": " : " not changed: ") + checked.problem + ".",
                                 "Cadenzo");
    return checked.text;
}

// Writes one of the files with the engine let go of, from a copy taken
// before, so that playing goes on while the disk works.
template <class Part>
void WriteGigFile(SystemState& s, const Part& part,
                  void (*save)(const std::string&, const Part&, Dialogs&)) {
    const Part copy = part;
    const std::string blendFile = GigBlendFile(s);
    const EngineReleased released(s.Engine);
    try {
        save(blendFile, copy, *s.Io.dialogs);
    } catch (const FileError& e) {
        ShowException(*s.Io.dialogs, e.what());
    }
}

void SetListChanged(SystemState& s) {
    WriteGigFile(s, s.Songs, &SaveSetListFile);
    s.Io.display->RefreshDisplay(0);
}

std::string EntryText(const SystemState& s, uint32_t index) {
    const SetListEntry& entry = s.Songs.Entries[index];
    const std::string mix = MixWithName(s, entry.Mix);
    return entry.Title.empty() ? mix : entry.Title + "  (" + mix + ")";
}

uint32_t AddEntry(SystemState& s, uint32_t selected) {
    SetList& list = s.Songs;
    if (InGmMode(s)) return selected;
    if (list.Count == kSetListCapacity) {
        s.Io.dialogs->MessageBox(Printf("The set list holds %zu entries at most.", kSetListCapacity), "Cadenzo");
        return selected;
    }
    const uint32_t at = list.Count == 0 ? 0 : selected + 1;
    const auto begin = list.Entries.begin();
    std::move_backward(begin + at, begin + list.Count, begin + list.Count + 1);
    list.Entries[at] = {static_cast<uint8_t>(s.Bank.CurrentProgram), ""};
    if (list.Position >= at && list.Count > 0) ++list.Position;
    ++list.Count;
    SetListChanged(s);
    return at;
}

uint32_t RemoveEntry(SystemState& s, uint32_t selected) {
    SetList& list = s.Songs;
    if (list.Count == 0) return 0;
    const auto begin = list.Entries.begin();
    std::move(begin + selected + 1, begin + list.Count, begin + selected);
    list.Entries[--list.Count] = {};
    if (list.Position > selected) --list.Position;
    SetListChanged(s);
    return std::min(selected, list.Count == 0 ? 0 : list.Count - 1);
}

uint32_t MoveOrChoose(SystemState& s, uint32_t selected, bool up, bool move) {
    SetList& list = s.Songs;
    if (up ? selected == 0 : selected + 1 >= list.Count) return selected;
    const uint32_t to = up ? selected - 1 : selected + 1;
    if (!move) return to;
    std::swap(list.Entries[selected], list.Entries[to]);
    if (list.Position == selected)
        list.Position = to;
    else if (list.Position == to)
        list.Position = selected;
    SetListChanged(s);
    return to;
}

}  // namespace

std::string GigBlendFile(const SystemState& s) {
    return s.BlendFileName.empty() ? std::string(kDefaultBlendFile) : s.BlendFileName;
}

uint32_t CurrentSlot(const SystemState& s) { return InGmMode(s) ? kGmSlot : s.Bank.CurrentProgram; }

const std::string& MixName(const SystemState& s, uint32_t slot) {
    return s.Names.Names[std::min<uint32_t>(slot, kGmSlot)];
}

std::string MixWithName(const SystemState& s, uint32_t slot) {
    const std::string number = SlotNumber(s, slot);
    const std::string& name = MixName(s, slot);
    return name.empty() ? number : number + "  " + name;
}

std::string TitleWithMixName(const std::string& title, const SystemState& s) {
    const uint32_t slot = CurrentSlot(s);
    return MixName(s, slot).empty() ? title : title + "  -  " + MixWithName(s, slot);
}

std::string ZoneMapTitle(const SystemState& s) { return TitleWithMixName("Zone Map", s); }

std::string NameEditorCaption(const SystemState& s, uint32_t slot) { return "Name of " + SlotNumber(s, slot); }

void RenameMix(SystemState& s, uint32_t slot, std::string_view text) {
    if (slot > kGmSlot) return;
    const std::optional<std::string> name = TypedText(s, text, kNameCharacters, "Mix name");
    if (!name || *name == s.Names.Names[slot]) return;
    s.Names.Names[slot] = *name;
    WriteGigFile(s, s.Names, &SaveNamesFile);
    s.Io.display->RefreshDisplay(0);
}

std::vector<std::string> SetListRows(const SystemState& s) {
    const std::optional<uint32_t> current = InGmMode(s) ? std::nullopt : EntryOfMix(s.Songs, s.Bank.CurrentProgram);
    std::vector<std::string> rows;
    for (uint32_t i = 0; i < s.Songs.Count; ++i) {
        const SetListEntry& entry = s.Songs.Entries[i];
        rows.push_back((current == i ? "> " : "   ") + std::to_string(i + 1) + "  " + MixWithName(s, entry.Mix) +
                       (entry.Title.empty() ? "" : "  -  " + entry.Title));
    }
    return rows;
}

uint32_t SetListKey(SystemState& s, SetListView& view, uint16_t key, bool shift, uint32_t selected) {
    const uint32_t count = s.Songs.Count;
    selected = std::min(selected, count == 0 ? 0 : count - 1);
    switch (key) {
    case vk::Insert:
    case 'A':
        return AddEntry(s, selected);
    case vk::Delete:
        return RemoveEntry(s, selected);
    case vk::Up:
    case vk::Down:
        return MoveOrChoose(s, selected, key == vk::Up, shift);
    case vk::Home:
        return 0;
    case vk::End:
        return count == 0 ? 0 : count - 1;
    case vk::Return:
        JumpToEntry(s, selected);
        return selected;
    case 'T':
        if (count > 0) view.EditTitle(selected);
        return selected;
    case vk::Escape:
    case vk::F10:
        view.CloseSetList();
        return selected;
    default:
        return selected;
    }
}

void RetitleEntry(SystemState& s, uint32_t index, std::string_view text) {
    if (index >= s.Songs.Count) return;
    const std::optional<std::string> title = TypedText(s, text, kTitleCharacters, "Song title");
    if (!title || *title == s.Songs.Entries[index].Title) return;
    s.Songs.Entries[index].Title = *title;
    SetListChanged(s);
}

std::string TitleEditorCaption(const SystemState& s, uint32_t index) {
    return Printf("Title of song %u, ", index + 1) + SlotNumber(s, s.Songs.Entries[std::min(index, kLastEntry)].Mix);
}

std::string EditorHint(size_t characters) {
    return Printf("Up to %zu characters. Enter keeps, Esc leaves it as it was; empty removes it.", characters);
}

PerformanceTexts PerformanceViewTexts(const SystemState& s) {
    const uint32_t slot = CurrentSlot(s);
    const SetList& list = s.Songs;
    const std::optional<uint32_t> entry = EntryOfMix(list, slot);
    const std::string* title = entry && !InGmMode(s) ? &list.Entries[*entry].Title : nullptr;
    PerformanceTexts texts;
    texts.mix = MixWithName(s, slot);
    const std::string& name = MixName(s, slot);
    texts.song = title && !title->empty() ? *title : name.empty() ? texts.mix : name;
    if (InGmMode(s)) return texts;
    if (list.Count == 0) {
        texts.position = "No set list";
        texts.next = slot + 1 < kPrograms ? "Next: " + MixWithName(s, slot + 1) : "Last mix";
        return texts;
    }
    texts.position = entry ? Printf("Song %u of %u", *entry + 1, list.Count) : Printf("Not in the set list (%u songs)", list.Count);
    const uint32_t next = entry ? *entry + 1 : 0;
    texts.next = next < list.Count ? "Next: " + EntryText(s, next) : "End of the set list";
    return texts;
}

}  // namespace cadenzo
