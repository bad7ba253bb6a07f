// The settings record, byte for byte as "Ostinata.opt" holds it.
// The six port fields and the display mode are 32-bit little-endian; every
// other field is one unsigned byte. The record is kept as raw bytes so that a
// file written on any host loads the same; the accessors read the 32-bit fields.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace cadenzo {

// Port filters: 0 disabled, 1 In1 only, 2 In2 only, 3 both.
// Channel filters: 0..15 that channel, 16 every channel.
struct OptionsRecord {
    std::array<uint8_t, 4> In1Device;        // 0 = none, k = input device k - 1
    std::array<uint8_t, 4> In2Device;
    std::array<uint8_t, 4> In3Device;        // the thru input
    std::array<uint8_t, 4> SynthOutDevice;   // 0 = none, k = output device k - 1
    std::array<uint8_t, 4> ThruOutDevice;
    std::array<uint8_t, 4> ControlOutDevice;
    uint8_t Mix34Level;             // output pair 3:4 mixed into 1:2
    uint8_t Mix56Level;             // output pair 5:6 mixed into 1:2
    uint8_t ChangeBlendsWithBanks;  // send bank select with each layer's program
    uint8_t UseDrumMode;            // external drum mode on
    std::array<uint8_t, 4> ProgramDisplayMode;  // how mix numbers are shown, 0..3
    uint8_t ProgramSelectPort;      // port filter for program changes
    uint8_t ProgramSelectChannel;   // channel filter for program changes
    uint8_t UserCC1;                // controller carrying Us1: 0 none, u = controller u - 1
    uint8_t UserCC2;
    uint8_t UserCC3;
    uint8_t UserCC4;
    std::array<uint8_t, 5> EffectLevels;  // Hall, Chorus, Delay, Ch->Rev, Del->Rev
    uint8_t DrumInPort;             // 0 In1, 1 In2
    uint8_t DrumInChannel;          // 0..15
    uint8_t DrumOutChannel;         // synthesiser channel of the drums, 0..15
    uint8_t DrumReverb;
    uint8_t DrumChorus;
    uint8_t DrumDelay;
    uint8_t DrumOut12;
    uint8_t DrumOut34;
    uint8_t DrumOut56;
    uint8_t GmStartMode;            // start in GM mode
    uint8_t GmThruMode;             // kNoThru, kThruSelectedChannel or kThruAllChannels
    uint8_t GmPort;                 // main GM input: 0 In1, 1 In2
    std::array<uint8_t, 5> GmEffectLevels;  // the five effect levels in GM mode
    uint8_t MonitorSource;          // a MonitorSourceValue; read on MIDI threads
    uint8_t MonitorVoiceOnly;       // monitor channel voice messages only
    uint8_t TerciChannel;           // channel filter for terci-select notes
    uint8_t DrumAutoNoteOff;        // automatic note-off for external drums
    uint8_t NoteOffDelay;           // (index + 1) x 10 ms, 0..49
    uint8_t Unused65;
    uint8_t GmAutoNoteOff;          // automatic note-off of channel 10 drums in GM mode
    uint8_t GmMidiThru;             // In1 to the thru output in GM mode; read on MIDI threads
    std::array<uint8_t, 128> CCBlocked;  // 1 = incoming controller dropped
    uint8_t MasterVolumePort;       // port filter for the master-volume controller
    uint8_t MasterVolumeChannel;    // channel filter for it
    uint8_t MasterVolumeCC;         // its controller number
    uint8_t TerciPort;              // port filter for terci-select notes
};

static_assert(sizeof(OptionsRecord) == 200);
static_assert(alignof(OptionsRecord) == 1);
static_assert(offsetof(OptionsRecord, ControlOutDevice) == 20);
static_assert(offsetof(OptionsRecord, Mix34Level) == 24);
static_assert(offsetof(OptionsRecord, ProgramDisplayMode) == 28);
static_assert(offsetof(OptionsRecord, ProgramSelectPort) == 32);
static_assert(offsetof(OptionsRecord, UserCC1) == 34);
static_assert(offsetof(OptionsRecord, EffectLevels) == 38);
static_assert(offsetof(OptionsRecord, DrumInPort) == 43);
static_assert(offsetof(OptionsRecord, DrumOut56) == 51);
static_assert(offsetof(OptionsRecord, GmStartMode) == 52);
static_assert(offsetof(OptionsRecord, GmEffectLevels) == 55);
static_assert(offsetof(OptionsRecord, MonitorSource) == 60);
static_assert(offsetof(OptionsRecord, NoteOffDelay) == 64);
static_assert(offsetof(OptionsRecord, GmMidiThru) == 67);
static_assert(offsetof(OptionsRecord, CCBlocked) == 68);
static_assert(offsetof(OptionsRecord, MasterVolumePort) == 196);
static_assert(offsetof(OptionsRecord, TerciPort) == 199);

// GmThruMode values.
inline constexpr uint8_t kNoThru = 0;
inline constexpr uint8_t kThruSelectedChannel = 1;
inline constexpr uint8_t kThruAllChannels = 2;

// MonitorSource values: what the monitor shows, in the order of the setup
// dialog's list.
enum MonitorSourceValue : uint8_t {
    kMonitorNothing,
    kMonitorIn1,
    kMonitorIn2,
    kMonitorUnused,  // the list's separator line
    kMonitorIn3,
    kMonitorSynthOut,
    kMonitorControlOut,
    kMonitorThruOut,
    kMonitorKeyboard,
    kMonitorProgramMessages,
    kMonitorSourceCount,
};

// A 32-bit little-endian field.
inline uint32_t ReadU32(const std::array<uint8_t, 4>& f) {
    return uint32_t{f[0]} | uint32_t{f[1]} << 8 | uint32_t{f[2]} << 16 | uint32_t{f[3]} << 24;
}
inline void WriteU32(std::array<uint8_t, 4>& f, uint32_t v) {
    f = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
         static_cast<uint8_t>(v >> 24)};
}

// A single option byte that another thread reads while the main thread may
// write it (the monitor source and the GM thru switch).
inline uint8_t ReadShared(const uint8_t& field) {
    return std::atomic_ref<uint8_t>(const_cast<uint8_t&>(field)).load(std::memory_order_relaxed);
}
inline void WriteShared(uint8_t& field, uint8_t v) {
    std::atomic_ref<uint8_t>(field).store(v, std::memory_order_relaxed);
}

}  // namespace cadenzo
