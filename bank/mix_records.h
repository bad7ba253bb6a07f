// The stored records of a mix, byte for byte as the blend file holds them.
// Every field is one unsigned byte, so the layout has no byte order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cadenzo {

inline constexpr int kChannels = 16;
inline constexpr int kStoredChannelBytes = 28;  // the parameters the grid edits
inline constexpr int kRuntimeChannelBytes = 15; // zero in every stored and working record

// One layer: what synthesiser channel c plays and how.
struct ChannelRecord {
    uint8_t In1Channel;  // input 1 channel feeding this layer: 0 none, 1..16, 17 all
    uint8_t In2Channel;  // the same for input 2
    uint8_t Lsb;         // bank number sent with controller 0
    uint8_t Msb;         // bank number sent with controller 32
    uint8_t PG;          // program change
    uint8_t Vol;         // controller 7
    uint8_t Pan;         // controller 10, 64 = centre
    uint8_t KL;          // lowest key of the zone
    uint8_t KH;          // highest key of the zone (below KL: split zone)
    uint8_t VL;          // lowest velocity of the zone
    uint8_t VH;          // highest velocity of the zone (below VL: split zone)
    uint8_t Trs;         // transposition, 64 = none
    uint8_t Rev;         // reverb send, controller 91 on the control port
    uint8_t Chr;         // chorus send, controller 93 on the control port
    uint8_t Del;         // delay send, controller 92 on the control port
    uint8_t Us1;         // user controller values, numbers chosen in the options
    uint8_t Us2;
    uint8_t Us3;
    uint8_t Us4;
    uint8_t AT;          // 1 = channel pressure bends this layer's pitch up
    uint8_t Out12;       // level into output pair 1:2, controller 100 on the control port
    uint8_t Out34;       // level into output pair 3:4, controller 101
    uint8_t Out56;       // level into output pair 5:6, controller 102
    uint8_t Tun;         // fine tune, 128 = none
    uint8_t MD;          // voice mode: 0 poly, 1 mono, 2 mono legato, 3 mono portamento
    uint8_t Scl;         // 1 = keyboard scale detune applies to this layer
    uint8_t Dyn;         // 0 = played velocity, 1..127 = fixed velocity
    uint8_t Trc;         // 1 = terca mode
    std::array<uint8_t, kRuntimeChannelBytes> RuntimeBytes;
};

inline constexpr int kEqBands = 10;
inline constexpr int kScaleNotes = 12;
inline constexpr int kMixReservedBytes = 212;

struct Mix {
    std::array<ChannelRecord, kChannels> Channels;
    std::array<uint8_t, kEqBands> EQ12;   // equaliser of output pair 1:2, 64 = flat
    std::array<uint8_t, kEqBands> EQ34;
    std::array<uint8_t, kEqBands> EQ56;
    std::array<uint8_t, kScaleNotes> KeyboardScale;  // detune per pitch class C..H, 64 = none
    uint8_t PortaSpeed;  // portamento time in glide ticks, 1..250
    uint8_t BendRange;   // pitch-wheel range in semitones, 1..12
    std::array<uint8_t, kMixReservedBytes> MixReserved;  // kept as found, read by nothing
};

inline constexpr int kPrograms = 128;
inline constexpr int kGmSlot = 128;     // the General MIDI set-up
inline constexpr int kBankSlots = 129;

struct MixBank {
    std::array<Mix, kBankSlots> Slots;
};

static_assert(sizeof(ChannelRecord) == 43);
static_assert(offsetof(ChannelRecord, Rev) == 12);
static_assert(offsetof(ChannelRecord, Out12) == 20);
static_assert(offsetof(ChannelRecord, Tun) == 23);
static_assert(offsetof(ChannelRecord, Trc) == 27);
static_assert(offsetof(ChannelRecord, RuntimeBytes) == kStoredChannelBytes);
static_assert(sizeof(Mix) == 944);
static_assert(offsetof(Mix, EQ12) == 688);
static_assert(offsetof(Mix, EQ34) == 698);
static_assert(offsetof(Mix, EQ56) == 708);
static_assert(offsetof(Mix, KeyboardScale) == 718);
static_assert(offsetof(Mix, PortaSpeed) == 730);
static_assert(offsetof(Mix, BendRange) == 731);
static_assert(offsetof(Mix, MixReserved) == 732);
static_assert(sizeof(MixBank) == 121776);
static_assert(alignof(MixBank) == 1);

}  // namespace cadenzo
