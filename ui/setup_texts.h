// The item lists of the setup dialog and the rules that tie its controls
// together, as plain functions. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bank/options_record.h"

namespace cadenzo {

// Controller names by number, for the filter and master-volume lists.
extern const std::array<const char*, 128> kControllerNames;

// "%03d - %s": the filter and master-volume list item of controller n.
std::string ControllerItem(int n);
// "Unused", then "CC %03d" for 0..127: the user-controller lists.
// The footswitch controllers' lists: "000 - None", then the controllers 1..127;
// the learn button while it waits.
std::vector<std::string> FootswitchItems();
inline constexpr const char* kLearnCaption = "Learn";
inline constexpr const char* kLearningCaption = "Move it...";
inline constexpr std::array<const char*, 2> kFootswitchLabels{"Next mix controller", "Previous mix controller"};
std::vector<std::string> UserControllerItems();
// " %3d ms" for 10, 20, ..., 500: the note-off delay list.
std::vector<std::string> NoteOffDelayItems();
// "Ch 1" .. "Ch 16", and "All  Channels" when asked.
std::vector<std::string> ChannelItems(bool withAll);

inline constexpr std::array<const char*, 4> kPortFilterItems{"Disabled", "MIDI Port1 Only", "MIDI Port2 Only",
                                                             "MIDI Port1 + Port2"};
inline constexpr std::array<const char*, 2> kInPortItems{"In Port 1", "In Port 2"};
inline constexpr std::array<const char*, 3> kGmThruItems{"No THRU", "Thru Sel Ch", "Thru All Ch"};
inline constexpr std::array<const char*, kMonitorSourceCount> kMonitorSourceItems{
    "Not Conected !",          "Input Port 1",      "Input Port 2",          "------",
    "Input Port 3 (Thru Port)", "Output Port 1 (Synth 1)", "Output Port 2 (kX Control)",
    "Output Port 3 (Thru Port)", "Keyboard Messages", "Program Messages "};
inline constexpr std::array<const char*, 4> kDisplayModeItems{"Program 0 - 127", "Program 1 - 128", "Kawai K1, K1-II",
                                                              "Roland A11 - B88"};

// The item a port list shows for the device the port waits for.
std::string AbsentDeviceItem(const std::string& name);

// The item a stored byte selects; -1 (nothing selected) for a byte beyond
// the list, as a file written elsewhere may hold.
inline int ItemIndex(uint32_t value, size_t count) { return value < count ? static_cast<int>(value) : -1; }

// While remote master volume is in use, its controller is always blocked:
// sets that entry of CCBlocked and returns the filter item to check and
// disable. Nothing while the port is disabled or the controller number is
// out of range.
std::optional<uint8_t> ApplyMasterVolumeRule(OptionsRecord& o);

// "In 1 to THRU Out" and the thru input both feed the thru output; only one
// may be in use.
struct ThruInterlock {
    bool checkBoxEnabled;
    bool input3Enabled;
};
ThruInterlock ThruInterlockFor(bool in1ToThru, uint32_t input3Item);

}  // namespace cadenzo
