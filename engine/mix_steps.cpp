#include "engine/mix_steps.h"

#include "engine/remote_control.h"
#include "engine/system_state.h"

namespace cadenzo {

namespace {

constexpr uint8_t kSwitchDown = 64;
constexpr uint8_t kLearnNext = 1;

}  // namespace

void StepMix(SystemState& s, bool next) {
    if (s.Bank.GmMode.load(std::memory_order_relaxed)) return;
    SetList& list = s.Songs;
    const uint32_t current = s.Bank.CurrentProgram;
    if (list.Count == 0) {
        if (next ? current + 1 < kPrograms : current > 0) SelectProgram(s, next ? current + 1 : current - 1);
        return;
    }
    const std::optional<uint32_t> at = EntryOfMix(list, current);
    if (!at)
        JumpToEntry(s, next ? 0 : list.Count - 1);
    else if (next ? *at + 1 < list.Count : *at > 0)
        JumpToEntry(s, next ? *at + 1 : *at - 1);
}

void JumpToEntry(SystemState& s, uint32_t index) {
    if (index >= s.Songs.Count || s.Bank.GmMode.load(std::memory_order_relaxed)) return;
    s.Songs.Position = index;
    SelectProgram(s, s.Songs.Entries[index].Mix);
}

bool FootswitchControl(SystemState& s, uint8_t controller, uint8_t value) {
    FootswitchState& f = s.Footswitch;
    std::array<uint8_t*, 2> chosen{&f.NextController, &f.PreviousController};
    if (const uint8_t learning = f.Learning.load(std::memory_order_acquire); learning != 0 && controller != 0) {
        const size_t i = learning == kLearnNext ? 0 : 1;
        WriteShared(*chosen[i], controller);
        f.Last[i] = value;
        f.Learning.store(0, std::memory_order_release);
        return true;
    }
    for (size_t i = 0; i < chosen.size(); ++i) {
        if (controller == 0 || ReadShared(*chosen[i]) != controller) continue;
        const bool step = value >= kSwitchDown && f.Last[i] < kSwitchDown;
        f.Last[i] = value;
        if (step) StepMix(s, i == 0);
        return true;
    }
    return false;
}

}  // namespace cadenzo
