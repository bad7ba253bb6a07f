// The blend file "def.cdb" as the program reads it at start-up: the
// fuzzer's bytes are the file. A rejected file leaves the bank and its name
// exactly as they were. An accepted one, with its fix-ups applied, is saved
// and loaded again and gives the same bytes; then its mixes are sent as
// start-up and a program change send them, every message whole, and its
// grid texts are made.
#include <cstring>
#include <memory>
#include <string>

#include "bank/blend_file.h"
#include "engine/transmission.h"
#include "fuzz/fuzz_folder.h"
#include "fuzz/fuzz_rig.h"
#include "ui/display_text.h"
#include "ui/grid_text.h"

namespace cadenzo::fuzz {
namespace {

constexpr const char* kFirstName = "previous.cdb";

bool SameBank(const MixBank& a, const MixBank& b) { return std::memcmp(&a, &b, sizeof(MixBank)) == 0; }

// Everything the window shows of mix `program`.
void MakeTexts(FuzzRig& rig, uint32_t program) {
    rig.s.Bank.CurrentProgram = program;
    for (int c = 0; c < kChannels; ++c) GridRowTexts(rig.s.Bank, rig.s.Options, c);
    ProgramLabelText(rig.s.Bank, rig.s.Options);
    const Mix& mix = DisplayedMix(rig.s.Bank);
    PortamentoText(mix.PortaSpeed);
    PitchBendText(mix.BendRange);
    for (uint8_t step : mix.KeyboardScale) DetuneText(step);
    for (const auto* eq : {&mix.EQ12, &mix.EQ34, &mix.EQ56})
        for (uint8_t band : *eq) EqBarGeometry(band);
}

}  // namespace
}  // namespace cadenzo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace cadenzo;
    using namespace cadenzo::fuzz;
    InFuzzFolder here;
    WriteWholeFile(kDefaultBlendFile, data, size);
    auto rig = std::make_unique<FuzzRig>();
    auto before = std::make_unique<MixBank>(rig->s.Bank.Bank);
    rig->s.BlendFileName = kFirstName;
    LoadBlendFile(rig->s.Bank, rig->s.BlendFileName, kDefaultBlendFile, rig->dialogs, rig->display);
    if (size < sizeof(MixBank)) {
        Require(SameBank(*before, rig->s.Bank.Bank) && rig->s.BlendFileName == kFirstName,
                "a rejected blend file changed the bank");
        return 0;
    }
    Require(rig->dialogs.boxes.empty() && rig->s.BlendFileName == kDefaultBlendFile, "a whole blend file was refused");

    SaveBlendFile(rig->s.Bank, "again.cdb", rig->dialogs);
    BankState again;
    std::string againName;
    LoadBlendFile(again, againName, "again.cdb", rig->dialogs, rig->display);
    Require(SameBank(again.Bank, rig->s.Bank.Bank), "a loaded bank saved and loaded again differs");

    LoadMix(rig->s.Bank, 0);
    SendStartUpSet(rig->s);
    // Program changes from In1 to the first and last programs, then GM mode.
    rig->s.Options.ProgramSelectChannel = 16;
    for (uint32_t program : {1u, 127u}) {
        rig->Play(0, PackShortMessage(0xC0, 0, program, 0));
        MakeTexts(*rig, program);
    }
    rig->s.Bank.GmMode = true;
    TransmitMix(rig->s);
    MakeTexts(*rig, kGmSlot);
    return 0;
}
