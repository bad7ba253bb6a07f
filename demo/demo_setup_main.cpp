// Prepares the current folder for the demo: SynthOut on the synthesiser and
// In1 on the player's keyboard, chosen by name from the devices the MIDI
// service lists now; the effect sends and master volume sent to the
// synthesiser too, which is all the demo wires; and a bank that sounds at
// once when there is none yet.
//
//   cadenzo-demo-setup --midi alsa|jack --synth PART [--keyboard PART]
//
// Exit status: 0 done, 1 failed, 2 bad arguments, 3 no output device's
// name holds PART (the synthesiser is not there yet).
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "bank/blend_file.h"
#include "bank/file_io.h"
#include "bank/mix_bank.h"
#include "bank/options_file.h"
#include "bank/ports_file.h"
#include "bank/settings_file.h"
#include "demo/demo_bank.h"
#include "demo/demo_devices.h"
#include "midi/listed_device.h"
#include "midi/system_backend.h"

namespace {

using namespace cadenzo;

constexpr int kNoSynth = 3;

struct Arguments {
    MidiService midi = MidiService::Automatic;
    std::string synth;
    std::string keyboard;
};

bool Parse(int argc, char** argv, Arguments& a) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        const std::optional<MidiService> named = MidiServiceNamed(value);
        if (option == "--midi" && named) a.midi = *named;
        else if (option == "--synth") a.synth = value;
        else if (option == "--keyboard") a.keyboard = value;
        else return false;
    }
    return argc % 2 == 1 && a.midi != MidiService::Automatic && !a.synth.empty();
}

void Write(const std::string& path, const void* data, size_t size) {
    if (!ReplaceFileContent(path, static_cast<const uint8_t*>(data), size))
        throw FileError("Cannot write file " + path);
}

// The settings as they are, or their defaults where the file is missing or short.
OptionsRecord CurrentOptions() {
    OptionsRecord o{};
    if (!FileExists(kOptionsFile) ||
        ReadFilePrefix(kOptionsFile, reinterpret_cast<uint8_t*>(&o), sizeof o) != sizeof o)
        ApplyOptionDefaults(o);
    return o;
}

void WriteDemoBank() {
    const auto bank = std::make_unique<BankState>();
    InitBankDefaults(*bank);
    MakeDemoMixes(bank->Bank);
    Write(kDefaultBlendFile, &bank->Bank, sizeof bank->Bank);
}

int Run(const Arguments& a) {
    const std::unique_ptr<MidiBackend> backend = MakeSystemBackend(a.midi);
    MidiBackend& midi = *backend;
    if (!midi.AnsweringService()) {
        std::fprintf(stderr, "%s\n", NoMidiServiceNote(a.midi).c_str());
        return 1;
    }
    const std::vector<std::string> inputs = midi.InputNames();
    const std::vector<std::string> outputs = midi.OutputNames();
    const DemoDevices devices = ChooseDemoDevices(inputs, outputs, a.synth, a.keyboard);
    if (devices.synth.empty()) return kNoSynth;

    OptionsRecord options = CurrentOptions();
    WriteU32(options.SynthOutDevice, ListedDeviceNumber(outputs, devices.synth));
    WriteU32(options.In1Device, ListedDeviceNumber(inputs, devices.keyboard));
    Write(kOptionsFile, &options, sizeof options);
    std::ostringstream ports;
    ports << std::ifstream(kPortsFile).rdbuf();
    const std::string portsText =
        UpdatePortsText(ports.str(), {{"In1", devices.keyboard}, {"SynthOut", devices.synth}});
    Write(kPortsFile, portsText.data(), portsText.size());
    ProgramSettings settings = ReadSettingsFile();
    settings.EffectSendsToSynth = 1;
    const std::string settingsText = SettingsFileText(settings);
    Write(kSettingsFile, settingsText.data(), settingsText.size());
    if (!FileExists(kDefaultBlendFile)) {
        WriteDemoBank();
        std::printf("Demo bank written to %s.\n", kDefaultBlendFile);
    }

    std::printf("SynthOut: %s\n", devices.synth.c_str());
    if (devices.keyboard.empty())
        std::printf("In1: no keyboard found; connect one and choose it in the setup dialog (F2).\n");
    else
        std::printf("In1: %s\n", devices.keyboard.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!Parse(argc, argv, arguments)) {
        std::fprintf(stderr, "Usage: cadenzo-demo-setup --midi alsa|jack --synth PART [--keyboard PART]\n");
        return 2;
    }
    try {
        return Run(arguments);
    } catch (const FileError& e) {
        std::fprintf(stderr, "cadenzo-demo-setup: %s\n", e.what());
        return 1;
    }
}
