#include "bank/mix_bank.h"

#include <algorithm>
#include <cstring>

#include "bank/options_record.h"

namespace cadenzo {

namespace {

ChannelRecord DefaultChannel() {
    ChannelRecord c{};
    c.Vol = 110;
    c.Pan = 64;
    c.KH = 127;
    c.VH = 127;
    c.Trs = 64;
    c.Us1 = c.Us2 = c.Us3 = c.Us4 = 64;
    c.Out12 = 110;
    c.Tun = 128;
    return c;
}

// Copies one mix onto another the way load and store do: the stored bytes of
// every channel record, then the mix-wide fields; the runtime bytes of both
// sides end up zero.
void CopyMix(Mix& from, Mix& to) {
    for (int c = 0; c < kChannels; ++c) {
        ChannelRecord& src = from.Channels[c];
        ChannelRecord& dst = to.Channels[c];
        std::copy_n(reinterpret_cast<const uint8_t*>(&src), kStoredChannelBytes,
                    reinterpret_cast<uint8_t*>(&dst));
        src.RuntimeBytes.fill(0);
        dst.RuntimeBytes.fill(0);
    }
    to.EQ12 = from.EQ12;
    to.EQ34 = from.EQ34;
    to.EQ56 = from.EQ56;
    to.KeyboardScale = from.KeyboardScale;
    to.PortaSpeed = from.PortaSpeed;
    WriteShared(to.BendRange, from.BendRange);  // the glide tick reads the working mix's
    to.MixReserved = from.MixReserved;
}

bool SameMix(const Mix& a, const Mix& b) { return std::memcmp(&a, &b, sizeof(Mix)) == 0; }

void AfterCopy(BankState& s, uint32_t n) {
    s.History.Count = 0;
    s.History.Settled = s.WorkingMix;
    s.CurrentProgram = n;
    s.ProgramCopyTarget = static_cast<uint8_t>(n);
    s.MixModified = false;
}

}  // namespace

Mix DefaultMix() {
    Mix m{};
    m.Channels.fill(DefaultChannel());
    m.EQ12.fill(64);
    m.EQ34.fill(64);
    m.EQ56.fill(64);
    m.KeyboardScale.fill(64);
    m.PortaSpeed = 35;
    m.BendRange = 2;
    return m;
}

void InitBankDefaults(BankState& s) {
    s.Bank.Slots.fill(DefaultMix());
}

void LoadMix(BankState& s, uint32_t n) {
    if (n >= kBankSlots) return;
    CopyMix(s.Bank.Slots[n], s.WorkingMix);
    AfterCopy(s, n);
}

void StoreMix(BankState& s, uint32_t n) {
    if (n >= kBankSlots) return;
    CopyMix(s.WorkingMix, s.Bank.Slots[n]);
    AfterCopy(s, n);
    s.StoreUnwritten.store(true, std::memory_order_relaxed);  // the bank itself is read under the engine lock
}

void NoteEdit(BankState& s) {
    EditHistory& h = s.History;
    if (SameMix(s.WorkingMix, h.Settled)) return;
    h.Before[h.Next] = h.Settled;
    h.Next = (h.Next + 1) % kUndoEdits;
    h.Count = std::min(h.Count + 1, kUndoEdits);
    h.Settled = s.WorkingMix;
}

bool UndoEdit(BankState& s) {
    EditHistory& h = s.History;
    if (h.Count == 0) return false;
    h.Next = (h.Next + kUndoEdits - 1) % kUndoEdits;
    --h.Count;
    CopyMix(h.Before[h.Next], s.WorkingMix);
    h.Settled = s.WorkingMix;
    s.MixModified = s.CurrentProgram >= kBankSlots || !SameMix(s.WorkingMix, s.Bank.Slots[s.CurrentProgram]);
    return true;
}

}  // namespace cadenzo
