// The bank of 129 mixes, the working mix and the run-time values kept beside it.
// Main thread only, except where a field says otherwise.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "bank/mix_records.h"

namespace cadenzo {

inline constexpr uint32_t kUndoEdits = 32;

// The working mix as it was before each of its last edits, in a ring that
// lets the oldest go when full. A load or store starts it anew.
struct EditHistory {
    std::array<Mix, kUndoEdits> Before{};
    uint32_t Next = 0;   // the slot the next edit's mix goes to
    uint32_t Count = 0;  // edits that can be undone, 0..kUndoEdits
    Mix Settled{};       // the working mix as the last load, store, edit or undo left it
};

struct BankState {
    MixBank Bank{};                      // slots 0..127 the programs, slot 128 the GM set-up
    Mix WorkingMix{};                    // the current, edited copy; the glide tick reads BendRange
    uint32_t CurrentProgram = 0;         // slot last loaded from or stored to
    uint8_t ProgramCopyTarget = 0;       // destination of the program copy
    uint8_t ChannelCopyTarget = 0;       // destination of the channel copy, 0..15
    bool MixModified = false;            // edited since the last load or store
    std::atomic<bool> GmMode{false};     // read by the input callbacks
    EditHistory History;
    // A store not yet written to the blend file: set by every store, on
    // whichever thread plays it; taken by the window thread, which writes.
    std::atomic<bool> StoreUnwritten{false};
};

// The default mix every slot starts from: all layers inactive, levels neutral.
Mix DefaultMix();

// Writes the defaults into all 129 slots.
void InitBankDefaults(BankState& s);

// Copies bank slot n into the working mix (n < 129; larger n is ignored).
void LoadMix(BankState& s, uint32_t n);

// Copies the working mix into bank slot n (n < 129; larger n is ignored)
// and marks the bank to be written.
void StoreMix(BankState& s, uint32_t n);

// After an edit of the working mix: the mix it changed goes into the
// history (an edit that changed nothing leaves it as it was).
void NoteEdit(BankState& s);

// Puts the working mix back as it was before its last edit; false when no
// edit is left to undo. The mix counts as modified unless it now equals its
// slot in the bank.
bool UndoEdit(BankState& s);

}  // namespace cadenzo
