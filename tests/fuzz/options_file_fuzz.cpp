// The options file "Ostinata.opt" as the program reads it at start-up: the
// fuzzer's bytes are the file. A whole record loads byte for byte, and saved
// with the device numbers it holds it gives the same file again. A short one
// is reported and the defaults apply. Then the program runs on those options:
// the setup dialog's rules, the start-up set, and a phrase on both playing
// inputs that ends with every key and pedal let go, after which no note
// sounds and no pedal is held; every message sent is whole.
#include <array>
#include <atomic>
#include <cstring>
#include <memory>

#include "bank/file_io.h"
#include "bank/options_file.h"
#include "engine/glide.h"
#include "engine/gm_drum_paths.h"
#include "engine/transmission.h"
#include "fuzz/fuzz_folder.h"
#include "fuzz/fuzz_rig.h"
#include "ui/program_text.h"
#include "ui/setup_texts.h"

namespace cadenzo::fuzz {
namespace {

using Image = std::array<uint8_t, sizeof(OptionsRecord)>;

Image ImageOf(const OptionsRecord& o) {
    Image image;
    std::memcpy(image.data(), &o, image.size());
    return image;
}

Image FileImage() {
    Image image{};
    Require(ReadFilePrefix(kOptionsFile, image.data(), image.size()) == image.size(), "the options file came out short");
    return image;
}

void LoadedRecordSavesAsItWasRead(OptionsRecord& o, const uint8_t* data, test::RecordingDialogs& dialogs) {
    Require(std::memcmp(&o, data, sizeof o) == 0, "a whole options record did not load byte for byte");
    const std::array<uint32_t, 6> open{ReadU32(o.In1Device),      ReadU32(o.In2Device),     ReadU32(o.In3Device),
                                       ReadU32(o.SynthOutDevice), ReadU32(o.ThruOutDevice), ReadU32(o.ControlOutDevice)};
    const Image before = ImageOf(o);
    SaveOptions(o, open, dialogs);
    Require(FileImage() == before, "options saved as loaded gave another file");
}

// The setup dialog shows the stored values and applies its rules.
void SetupDialogRules(OptionsRecord o) {
    ItemIndex(ReadU32(o.ProgramDisplayMode), kDisplayModeItems.size());
    ItemIndex(o.MonitorSource, kMonitorSourceItems.size());
    ItemIndex(o.GmThruMode, kGmThruItems.size());
    ApplyMasterVolumeRule(o);
    for (int p = 0; p < kPrograms; ++p) ProgramText(static_cast<uint8_t>(p), ReadU32(o.ProgramDisplayMode));
}

// Program 0, where every layer plays In1 and In2 on every channel, is sent
// as at start-up.
void StartUp(FuzzRig& rig) {
    for (ChannelRecord& layer : rig.s.Bank.Bank.Slots[0].Channels) layer.In1Channel = layer.In2Channel = 17;
    LoadMix(rig.s.Bank, 0);
    SendStartUpSet(rig.s);
}

// Keys on the drum, terci, program and master-volume channels, the
// controllers the options name, a program change, pressure and the wheel;
// the timers tick between.
void PlayPhrase(FuzzRig& rig) {
    const OptionsRecord& o = rig.s.Options;
    const std::array<uint32_t, 4> channels{o.DrumInChannel, o.TerciChannel, o.ProgramSelectChannel, o.MasterVolumeChannel};
    const std::array<uint32_t, 8> controllers{o.UserCC1, o.UserCC2, o.UserCC3, o.UserCC4, o.MasterVolumeCC, 64, 66, 69};
    for (uint32_t input : {0u, 1u}) {
        for (uint32_t c : channels) {
            c &= 0x0F;
            rig.Play(input, PackShortMessage(0x90, c, 60, 100));
            for (uint32_t cc : controllers) rig.Play(input, PackShortMessage(0xB0, c, cc & 0x7F, 127));
            rig.Play(input, PackShortMessage(0xD0, c, 90, 0));
            rig.Play(input, PackPitchBend(c, 12000));
            GlideTick(&rig.s);
            rig.Play(input, PackShortMessage(0xC0, c, 1, 0));
            rig.Play(input, PackShortMessage(0x80, c, 60, 0));
            for (uint32_t cc : controllers) rig.Play(input, PackShortMessage(0xB0, c, cc & 0x7F, 0));
            DrumOffTimerTimer(rig.s);
        }
    }
    DrumOffTimerTimer(rig.s);
    DrumOffTimerTimer(rig.s);
}

}  // namespace
}  // namespace cadenzo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace cadenzo;
    using namespace cadenzo::fuzz;
    InFuzzFolder here;
    WriteWholeFile(kOptionsFile, data, size);
    OptionsRecord o{};
    std::atomic<bool> gmMode{false};
    test::RecordingDialogs dialogs;
    test::SilentDisplay display;
    LoadOptions(o, gmMode, dialogs, display);
    Require(dialogs.boxes.empty() == (size >= sizeof o), "only a short options file is reported");
    if (size >= sizeof o) LoadedRecordSavesAsItWasRead(o, data, dialogs);
    SetupDialogRules(o);

    auto rig = std::make_unique<FuzzRig>(&o);
    rig->s.Bank.GmMode = gmMode.load();
    StartUp(*rig);
    PlayPhrase(*rig);
    const bool synthSilent = rig->watches[kSynthOut].Silent("SynthOut");
    const bool thruSilent = rig->watches[kThruOut].Silent("ThruOut");
    Require(synthSilent && thruSilent, "something sounds after the phrase let go of every key and pedal");
    return 0;
}
