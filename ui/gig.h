// Mix names, the set list and the performance view, as plain C++: what they
// show and what their keys do. Every change writes its file at once, beside
// the blend file, with the engine let go of while the file is written.
// Main thread, holding the engine lock.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "midi/port_names.h"

namespace cadenzo {

struct SystemState;

// The blend file the names and the set list go beside: the file last
// loaded, else the default one.
std::string GigBlendFile(const SystemState& s);

// The slot whose name the name editor edits: the GM set-up in GM mode, else
// the current mix.
uint32_t CurrentSlot(const SystemState& s);

// A slot's number as the display shows it ("GM Mode" for the set-up), with
// its name after it when it has one: "MIX 005  Ballad strings".
std::string MixWithName(const SystemState& s, uint32_t slot);
// The name alone, "" for a slot without one.
const std::string& MixName(const SystemState& s, uint32_t slot);

// The main window's title with the current slot's name after it; the title
// alone while it has none.
std::string TitleWithMixName(const std::string& title, const SystemState& s);
std::string ZoneMapTitle(const SystemState& s);

// The name editor: its caption, and the name it was given. A text that is
// not UTF-8 or holds control characters is refused and a long one cut, each
// with a message box; an empty one takes the name away.
std::string NameEditorCaption(const SystemState& s, uint32_t slot);
void RenameMix(SystemState& s, uint32_t slot, std::string_view text);

// What the set-list window asks of its window.
class SetListView {
public:
    virtual ~SetListView() = default;
    virtual void EditTitle(uint32_t index) = 0;
    virtual void CloseSetList() = 0;
};

// One row per entry: "1  MIX 005  Ballad strings  -  Opening song", the
// current entry marked with "> " before it.
std::vector<std::string> SetListRows(const SystemState& s);
inline constexpr const char* kSetListHelp =
    "Insert: add the current mix   Delete: remove   Up/Down: choose   Shift+Up/Down: move   "
    "Enter: go to   T: title   Esc/F10: close";

// A key in the set-list window with `selected` the chosen row; returns the
// row chosen after it.
//   Insert, A        add the current mix after the chosen row
//   Delete           remove the chosen row
//   Up, Down         choose; with Shift, move the chosen row
//   Home, End        choose the first or last row
//   Return           select the chosen row's mix (as a step to it does)
//   T                edit the chosen row's song title
//   Escape, F10      close the window
uint32_t SetListKey(SystemState& s, SetListView& view, uint16_t key, bool shift, uint32_t selected);

// A song title given to entry `index`; checked as a name is.
void RetitleEntry(SystemState& s, uint32_t index, std::string_view text);
std::string TitleEditorCaption(const SystemState& s, uint32_t index);

// The performance view's texts.
struct PerformanceTexts {
    std::string song;      // the entry's song title, else the mix's name, else its number
    std::string mix;       // the mix with its name
    std::string next;      // "Next: ..." or what the end says
    std::string position;  // "Song 3 of 12"
};
PerformanceTexts PerformanceViewTexts(const SystemState& s);
// The captions under the view's six port lamps (inputs 1..3, then the
// synthesiser, thru and control outputs).
inline constexpr PerPort<const char*> kPerformanceLampCaptions{"In 1",  "In 2",     "Thru In",
                                                               "Synth", "Thru Out", "Control"};
inline constexpr const char* kPerformanceHelp = "Esc or F12 closes this view; every playing key works here";
// The hint under a text editor's line.
std::string EditorHint(size_t characters);

}  // namespace cadenzo
