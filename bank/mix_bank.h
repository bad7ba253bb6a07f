// The bank of 129 mixes, the working mix and the run-time values kept beside it.
// Main thread only, except where a field says otherwise.
#pragma once

#include <atomic>
#include <cstdint>

#include "bank/mix_records.h"

namespace cadenzo {

struct BankState {
    MixBank Bank{};                      // slots 0..127 the programs, slot 128 the GM set-up
    Mix WorkingMix{};                    // the current, edited copy; the glide tick reads BendRange
    uint32_t CurrentProgram = 0;         // slot last loaded from or stored to
    uint8_t ProgramCopyTarget = 0;       // destination of the program copy
    uint8_t ChannelCopyTarget = 0;       // destination of the channel copy, 0..15
    bool MixModified = false;            // edited since the last load or store
    std::atomic<bool> GmMode{false};     // read by the input callbacks
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

}  // namespace cadenzo
