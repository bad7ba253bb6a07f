#include "engine/copy_manager.h"

#include <algorithm>
#include <cstddef>

namespace cadenzo {

namespace {

constexpr size_t kCopiedChannelBytes = offsetof(ChannelRecord, Trc);  // every parameter before "Trc"

}  // namespace

void ProgramCopy(SystemState& s) {
    if (s.Bank.GmMode.load(std::memory_order_relaxed) || s.Bank.ProgramCopyTarget >= kPrograms) return;
    StoreMix(s.Bank, s.Bank.ProgramCopyTarget);
}

void ChannelCopy(SystemState& s) {
    BankState& b = s.Bank;
    if (b.GmMode.load(std::memory_order_relaxed)) return;
    const int from = s.Grid.Row - 1;
    const int to = b.ChannelCopyTarget;
    if (from < 0 || from >= kChannels || to >= kChannels) return;
    ChannelRecord& src = b.WorkingMix.Channels[from];
    ChannelRecord& dst = b.WorkingMix.Channels[to];
    std::copy_n(reinterpret_cast<const uint8_t*>(&src), kCopiedChannelBytes, reinterpret_cast<uint8_t*>(&dst));
    src.RuntimeBytes.fill(0);
    dst.RuntimeBytes.fill(0);
    b.MixModified = true;
}

}  // namespace cadenzo
