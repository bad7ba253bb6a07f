#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "bank/blend_file.h"
#include "bank/options_file.h"
#include "bank/window_title.h"
#include "midi/virtual/virtual_backend.h"
#include "services/redraw_mask.h"
#include "ui/gig.h"
#include "support/descriptor_limit.h"
#include "support/recorders.h"
#include "support/temp_dir.h"

namespace cadenzo {
namespace {

// Records the shell's calls and the message boxes in one trace, so that
// their order can be checked together.
class TracingShell final : public Shell, public Dialogs {
public:
    void ShowStartScreen(const std::string& t) override { trace.push_back("show " + t); }
    void SetStartScreenText(const std::string& t) override { trace.push_back("text " + t); }
    void CloseStartScreen() override { trace.push_back("close"); }
    Display& CreateMainWindow() override {
        trace.push_back("main window");
        return display;
    }
    void InstallMessageHook() override { trace.push_back("hook"); }
    void RunMessageLoop() override {
        trace.push_back("loop");
        if (duringLoop) duringLoop();
    }
    void ShowException(const std::string& m) override { trace.push_back("exception " + m); }
    void MessageBox(const std::string& text, const std::string& caption, MessageIcon) override {
        trace.push_back("box " + caption + ": " + text);
    }

    std::vector<std::string> trace;
    test::RecordingDisplay display;
    std::function<void()> duringLoop;
};

class StartUpOrder : public test::InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        state.Io.dialogs = &shell;
        state.Io.midi = &midi;
    }
    int Run() { return RunProgram(state, shell); }

    SystemState state;
    TracingShell shell;
    VirtualMidiBackend midi{{"Keys A", "Keys B", "Thru In"}, {"Synth", "Thru", "Control"}};
};

const std::string kNoOptions = "box Errorr!: Options file not exist!  Initializing With Deffault Values!";
const std::string kNoBlends =
    "box Errorr!: Blends file \"def.cdb\" not exist!\nInitializing All Blends With Deffault Values!";

TEST_F(StartUpOrder, FreshDirectoryStartsWithDefaultsAndWritesTheDefaultFileAtExit) {
    shell.duringLoop = [&] { state.Bank.Bank.Slots[4].Channels[0].In1Channel = 17; };
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(shell.trace, (std::vector<std::string>{
                               "show Loading...", "main window", "text Initialize Blends...",
                               "text Initializing MIDI Devices...", "hook", "text Load Options...", kNoOptions,
                               "text Load Blends...", kNoBlends, "text Open MIDI Devices...", "close", "loop",
                               "show Closing...", "close"}));
    EXPECT_EQ(shell.display.refreshes, std::vector<uint32_t>{RedrawAll});
    EXPECT_EQ(shell.display.drumIntervals, std::vector<uint32_t>{210});
    EXPECT_TRUE(shell.display.titles.empty());
    EXPECT_EQ(state.Bank.WorkingMix.BendRange, 2);

    const auto bytes = ReadBytes("def.cdb");
    ASSERT_EQ(bytes.size(), sizeof(MixBank));
    EXPECT_EQ(std::memcmp(bytes.data(), &state.Bank.Bank, bytes.size()), 0);
    EXPECT_FALSE(std::filesystem::exists(kOptionsFile));  // options are saved only on request
}

TEST_F(StartUpOrder, DefaultFileIsLoadedIntoTheBankAndMixZeroAndWrittenBackAtExit) {
    static BankState source;
    InitBankDefaults(source);
    source.Bank.Slots[0].Channels[2].In2Channel = 3;
    source.Bank.Slots[0].Channels[2].RuntimeBytes[0] = 9;
    WriteBytes("def.cdb", std::vector<uint8_t>(reinterpret_cast<uint8_t*>(&source.Bank),
                                               reinterpret_cast<uint8_t*>(&source.Bank) + sizeof(MixBank)));
    shell.duringLoop = [&] { state.Bank.Bank.Slots[9].PortaSpeed = 99; };

    Run();

    EXPECT_EQ(state.BlendFileName, "def.cdb");
    EXPECT_EQ(shell.display.titles,
              std::vector<std::string>{std::string(kMainTitle) + "  -  Loaded Blend File:  [ def.cdb ]"});
    EXPECT_EQ(state.Bank.WorkingMix.Channels[2].In2Channel, 3);
    const auto bytes = ReadBytes("def.cdb");
    ASSERT_EQ(bytes.size(), sizeof(MixBank));
    const auto& saved = *reinterpret_cast<const MixBank*>(bytes.data());
    EXPECT_EQ(saved.Slots[9].PortaSpeed, 99);
    EXPECT_EQ(saved.Slots[0].Channels[2].RuntimeBytes[0], 0);  // zeroed by loading mix 0
}

TEST_F(StartUpOrder, NamesTheSetListAndTheFootswitchesComeBackAtTheNextStart) {
    WriteBytes("Cadenzo.settings", {'N', 'e', 'x', 't', 'M', 'i', 'x', 'C', 'o', 'n', 't', 'r', 'o', 'l', 'l', 'e', 'r',
                                    '=', '6', '6', '\r', '\n'});
    shell.duringLoop = [&] {
        RenameMix(state, 0, "Strings");
        state.Songs = {};
        ParseSetList("0 Opening\n", state.Songs);
        RetitleEntry(state, 0, "First song");
    };
    Run();
    SystemState next;
    next.Io = state.Io;
    RunProgram(next, shell);
    EXPECT_EQ(next.Names.Names[0], "Strings");
    EXPECT_EQ(SetListRows(next), std::vector<std::string>{"> 1  MIX 000  Strings  -  First song"});
    EXPECT_EQ(next.Footswitch.NextController, 66);
    EXPECT_EQ(next.Footswitch.PreviousController, 0);
}

TEST_F(StartUpOrder, DefaultFileThatCannotBeOpenedEndsTheRunBeforeTheLoop) {
    std::filesystem::create_directory("def.cdb");
    EXPECT_EQ(Run(), kNotSavedStatus);
    ASSERT_GE(shell.trace.size(), 2u);
    EXPECT_EQ(shell.trace[shell.trace.size() - 2], "text Load Blends...");
    EXPECT_EQ(shell.trace.back(), "exception Cannot open file def.cdb");
    EXPECT_TRUE(shell.display.refreshes.empty());
}

TEST_F(StartUpOrder, RejectedDefaultFileIsKeptAndTheShutdownSaveReportsIt) {
    WriteBytes("def.cdb", std::vector<uint8_t>(100, 7));
    EXPECT_EQ(Run(), kNotSavedStatus);
    EXPECT_EQ(shell.trace.back(), "exception Cannot create file ");
    EXPECT_EQ(shell.trace[shell.trace.size() - 2], "show Closing...");
    EXPECT_EQ(ReadBytes("def.cdb"), std::vector<uint8_t>(100, 7));
}

TEST_F(StartUpOrder, OptionsThatCannotBeOpenedEndTheRunBeforeTheBlendFile) {
    std::filesystem::create_directory(kOptionsFile);
    EXPECT_EQ(Run(), kNotSavedStatus);
    EXPECT_EQ(shell.trace.back(), "exception Cannot open file Ostinata.opt");
    EXPECT_EQ(std::count(shell.trace.begin(), shell.trace.end(), "text Load Blends..."), 0);
}

TEST_F(StartUpOrder, PortsOpenFromTheOptionsAfterTheFilesAndCloseBeforeTheSave) {
    std::vector<uint8_t> options(200, 0);
    options[0] = 2;   // In1: "Keys B"
    options[8] = 1;   // In3: "Thru In"
    options[12] = 1;  // SynthOut: "Synth"
    options[16] = 9;  // ThruOut: no such device
    WriteBytes(kOptionsFile, options);
    shell.duringLoop = [&] {
        EXPECT_EQ(state.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{2, 0, 1, 1, 0, 0}));
        EXPECT_EQ(midi.InputPortName(1), "In1");
        EXPECT_EQ(midi.OutputPortName(0), "SynthOut");
        EXPECT_EQ(state.Ports.InputDeviceNames,
                  (std::vector<std::string>{"NO Selected IN Device", "Keys A", "Keys B", "Thru In"}));
    };
    Run();
    const std::vector<std::string> expected = {"text Open MIDI Devices...",
                                               "box Errorr...: Errorr: The specified device identifier is out of range.",
                                               "close", "loop"};
    EXPECT_NE(std::search(shell.trace.begin(), shell.trace.end(), expected.begin(), expected.end()),
              shell.trace.end());
    EXPECT_EQ(state.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{}));
    EXPECT_TRUE(state.Ports.InputDeviceNames.empty());
}

TEST_F(StartUpOrder, ThePortsFileNamesTheDevicesOverTheOptionsNumbers) {
    std::vector<uint8_t> options(200, 0);
    options[0] = 1;   // In1: "Keys A", as listed when saved
    options[4] = 2;   // In2: "Keys B"
    options[12] = 1;  // SynthOut: "Synth"
    WriteBytes(kOptionsFile, options);
    const std::string ports = "In1=Keys B\nIn2=\nSynthOut=Gone Synth\n";
    WriteBytes("Ostinata.ports", {ports.begin(), ports.end()});
    shell.duringLoop = [&] {
        EXPECT_EQ(state.Ports.OpenPortNumbers(), (std::array<uint32_t, 6>{2, 0, 0, 0, 0, 0}));
        EXPECT_EQ(state.Ports.RememberedDevices[3], "Gone Synth") << "waited for";
    };
    Run();
    EXPECT_EQ(std::count_if(shell.trace.begin(), shell.trace.end(),
                            [](const std::string& line) { return line.starts_with("box Errorr..."); }),
              0);
}

TEST_F(StartUpOrder, GmStartModeFromTheOptionsIsInForceAfterStartUp) {
    std::vector<uint8_t> options(200, 0);
    options[52] = 1;
    WriteBytes(kOptionsFile, options);
    Run();
    EXPECT_TRUE(state.Bank.GmMode.load());
}

TEST_F(StartUpOrder, WakesThatCouldNotBeMadeAreReportedAfterTheHook) {
    std::unique_ptr<SystemState> starved;
    std::unique_ptr<VirtualMidiBackend> starvedMidi;
    {
        test::NoNewDescriptors outOfDescriptors;
        starved = std::make_unique<SystemState>();
        starvedMidi = std::make_unique<VirtualMidiBackend>(std::vector<std::string>{}, std::vector<std::string>{});
    }
    starved->Io.dialogs = &shell;
    starved->Io.midi = starvedMidi.get();
    EXPECT_EQ(RunProgram(*starved, shell), 0);
    const auto hook = std::find(shell.trace.begin(), shell.trace.end(), "hook");
    ASSERT_NE(hook, shell.trace.end());
    EXPECT_EQ(hook[1],
              "box Cadenzo: Cannot create the MIDI input wake-up (Too many open files).\n"
              "MIDI input is looked for every millisecond instead.");
    EXPECT_EQ(hook[2],
              "box Cadenzo: Cannot create the MIDI device-change wake-up (Too many open files).\n"
              "The MIDI devices are looked at once a second instead.");
}

}  // namespace
}  // namespace cadenzo
