// The whole program on the ALSA sequencer, in a QEMU guest (run through
// tests/alsa-vm/run-in-alsa-vm): one client with the program's six ports,
// a USB MIDI keyboard played through it, unplugged with a key held and
// plugged in again at the same address and at another, and two keyboards
// of one name.
#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "bank/mix_bank.h"
#include "e2e/alsa_test_client.h"
#include "e2e/program_run.h"

namespace cadenzo {
namespace {

using namespace std::chrono_literals;
using test::AlsaTestClient;

constexpr const char* kUsbKeyboard = "VM USB Keyboard:VM USB Keyboard MIDI 1";

uint32_t On(uint32_t ch, uint32_t note) { return 0x90 | ch | note << 8 | 100u << 16; }
uint32_t Off(uint32_t ch, uint32_t note) { return 0x80 | ch | note << 8; }

// Runs the USB MIDI gadget tool; whether it did what was asked.
bool Gadget(const std::string& command) {
    return std::system((std::string(CADENZO_USB_MIDI_GADGET) + " " + command).c_str()) == 0;
}

// The card of the gadget's own side, where bytes written come out of the keyboard.
std::string GadgetCard() {
    std::string out;
    if (FILE* pipe = ::popen((std::string(CADENZO_USB_MIDI_GADGET) + " card").c_str(), "r")) {
        char buffer[64];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
        ::pclose(pipe);
    }
    while (!out.empty() && std::isspace(static_cast<unsigned char>(out.back()))) out.pop_back();
    return out;
}

// Plays `hex` (bytes as "90 3C 64") on the USB keyboard.
bool PlayUsb(const std::string& hex) {
    const std::string card = GadgetCard();
    return !card.empty() && std::system(("amidi -p hw:" + card + ",0 -S '" + hex + "'").c_str()) == 0;
}

// The sequencer client number of the USB keyboard, or -1.
int UsbKeyboardClient() {
    const auto clients = test::ClientsNamed("VM USB Keyboard");
    return clients.empty() ? -1 : clients.front().number;
}

// The program with a synthesiser on SynthOut: layer 1 plays every channel
// of In1, layer 2 every channel of In2.
class AlsaStage : public ::testing::Test {
protected:
    static std::unique_ptr<AlsaTestClient> Synth() {
        return std::make_unique<AlsaTestClient>("Synth", AlsaTestClient::Role::Synth);
    }
    void SetUp() override {
        ASSERT_TRUE(synth->Ok()) << "no ALSA sequencer (run in tests/alsa-vm/run-in-alsa-vm)";
        run.WriteOptionsRecord(test::DefaultOptions());
        run.WriteBank([](MixBank& bank) {
            bank.Slots[0].Channels[0].In1Channel = 17;
            bank.Slots[0].Channels[1].In2Channel = 17;
        });
    }
    void TearDown() override { EXPECT_FALSE(synth->Overflowed()) << "the synthesiser's queue overflowed"; }
    void Start(const std::string& ports) {
        run.WriteText("Ostinata.ports", ports + "SynthOut=Synth:in\n");
        run.Start({"--midi", "alsa", "--dir", run.Dir().string()});
    }
    size_t Mark() { return synth->Heard().size(); }
    bool HeardSince(size_t mark, uint32_t m) {
        const std::vector<ShortMessage>& heard = synth->Heard();
        return std::find(heard.begin() + static_cast<long>(std::min(mark, heard.size())), heard.end(), m) !=
               heard.end();
    }
    bool Hears(size_t mark, uint32_t m) {
        return test::WaitUntil([&] { return HeardSince(mark, m); }, 20s);
    }
    // Plays `play` again and again until the synthesiser hears `heard`.
    bool PlaysUntilHeard(const std::function<void()>& play, uint32_t heard) {
        const size_t mark = Mark();
        return test::WaitUntil(
            [&] {
                play();
                return test::WaitUntil([&] { return HeardSince(mark, heard); }, 500ms);
            },
            30s);
    }
    bool UsbPlays(uint32_t note) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "90 %02X 64", note);
        return PlaysUntilHeard([&] { PlayUsb(hex); }, On(0, note));
    }
    std::string Why() { return run.Running() ? run.Errors() : "the program ended: " + run.Errors(); }

    std::unique_ptr<AlsaTestClient> synth = Synth();
    test::ProgramRun run;
};

TEST_F(AlsaStage, TheProgramIsOneClientWithItsSixPorts) {
    Start("");
    ASSERT_TRUE(test::WaitUntil([&] { return synth->Joined(); }, 60s)) << "SynthOut joins the synthesiser; " << Why();
    const auto clients = test::ClientsNamed("Cadenzo");
    ASSERT_EQ(clients.size(), 1u);
    EXPECT_EQ(clients[0].ports, (std::vector<std::string>{"In1", "In2", "In3", "SynthOut", "ThruOut", "ControlOut"}));
    EXPECT_TRUE(run.StopsCleanly()) << Why();
    EXPECT_TRUE(test::WaitUntil([] { return test::ClientsNamed("Cadenzo").empty(); }, 10s));
}

TEST_F(AlsaStage, AUsbKeyboardPlaysLetsGoWhenUnpluggedAndPlaysAgainWhenBack) {
    ASSERT_TRUE(Gadget("plug")) << "the USB MIDI gadget did not plug in";
    const int address = UsbKeyboardClient();
    ASSERT_GE(address, 0);
    Start(std::string("In1=") + kUsbKeyboard + "\n");
    ASSERT_TRUE(UsbPlays(0x3C)) << Why();

    // System exclusive, longer than the sequencer hands over at once, is
    // passed over.
    std::string sysex = "F0";
    for (int i = 0; i < 4000; ++i) sysex += " 7D";
    ASSERT_TRUE(PlayUsb(sysex + " F7"));
    ASSERT_TRUE(UsbPlays(0x3B)) << Why();

    // Unplugged with the key down, back at the same address.
    size_t mark = Mark();
    ASSERT_TRUE(Gadget("unplug"));
    EXPECT_TRUE(Hears(mark, Off(0, 0x3C))) << "the held key is let go";
    ASSERT_TRUE(Gadget("plug"));
    EXPECT_EQ(UsbKeyboardClient(), address);
    EXPECT_TRUE(UsbPlays(0x3E)) << "plays again at the same address";

    // Out and back at the same address before the program looks at its
    // devices (held up here; a message box holds the look up as well).
    mark = Mark();
    ASSERT_EQ(::kill(run.Pid(), SIGSTOP), 0);
    ASSERT_TRUE(Gadget("unplug"));
    ASSERT_TRUE(Gadget("plug"));
    ASSERT_EQ(::kill(run.Pid(), SIGCONT), 0);
    EXPECT_EQ(UsbKeyboardClient(), address);
    EXPECT_TRUE(Hears(mark, Off(0, 0x3E))) << "the held key is let go";
    EXPECT_TRUE(UsbPlays(0x40)) << "plays again after a return the program did not see";

    // Back at another address: another sound card took its place meanwhile.
    mark = Mark();
    ASSERT_TRUE(Gadget("unplug"));
    EXPECT_TRUE(Hears(mark, Off(0, 0x40)));
    ASSERT_EQ(std::system("modprobe snd-dummy"), 0);
    ASSERT_TRUE(Gadget("plug"));
    ASSERT_NE(UsbKeyboardClient(), address);
    EXPECT_TRUE(UsbPlays(0x43)) << "plays again at another address";

    EXPECT_TRUE(run.StopsCleanly()) << Why();
    Gadget("remove");
}

TEST_F(AlsaStage, TwoKeyboardsOfOneNameAreToldApartByTheirOrder) {
    auto first = std::make_unique<AlsaTestClient>("Twin", AlsaTestClient::Role::Keyboard);
    AlsaTestClient second("Twin", AlsaTestClient::Role::Keyboard);
    ASSERT_TRUE(first->Ok() && second.Ok());
    Start("In1=Twin:out\nIn2=Twin:out\n");
    EXPECT_TRUE(PlaysUntilHeard([&] { first->Send(On(3, 60)); }, On(0, 60))) << "the first plays layer 1; " << Why();
    EXPECT_TRUE(PlaysUntilHeard([&] { second.Send(On(3, 62)); }, On(1, 62))) << "the second plays layer 2";
    size_t mark = Mark();
    second.Send(Off(3, 62));
    EXPECT_TRUE(Hears(mark, Off(1, 62))) << "the release goes out on the layer's own channel";

    // The first leaves and the program looks: In1 waits for it instead of
    // joining the second, and takes it again when it is back.
    first.reset();
    std::this_thread::sleep_for(2s);
    mark = Mark();
    second.Send(On(3, 65));
    EXPECT_TRUE(Hears(mark, On(1, 65)));
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(HeardSince(mark, On(0, 65))) << "the second plays layer 2 alone";
    first = std::make_unique<AlsaTestClient>("Twin", AlsaTestClient::Role::Keyboard);
    EXPECT_TRUE(PlaysUntilHeard([&] { first->Send(On(3, 67)); }, On(0, 67))) << "the first is back on layer 1";
    EXPECT_TRUE(run.StopsCleanly()) << Why();
}

// A keyboard that leaves is let go of at once, on the sequencer's word:
// never only at the program's once-a-second look.
TEST_F(AlsaStage, AKeyboardThatLeavesIsLetGoOfAtOnce) {
    auto keys = std::make_unique<AlsaTestClient>("Keys", AlsaTestClient::Role::Keyboard);
    Start("In1=Keys:out\n");
    for (uint32_t note = 60; note < 63; ++note) {
        ASSERT_TRUE(PlaysUntilHeard([&] { keys->Send(On(0, note)); }, On(0, note))) << Why();
        const size_t mark = Mark();
        const auto left = std::chrono::steady_clock::now();
        keys.reset();
        ASSERT_TRUE(Hears(mark, Off(0, note)));
        EXPECT_LT(std::chrono::steady_clock::now() - left, 300ms) << "round " << note - 60;
        keys = std::make_unique<AlsaTestClient>("Keys", AlsaTestClient::Role::Keyboard);
    }
    EXPECT_TRUE(run.StopsCleanly()) << Why();
}

// Held up for a moment while a burst and a key's release arrive, the
// program still hears the release.
TEST_F(AlsaStage, AStalledProgramGetsTheReleaseAfterABurst) {
    AlsaTestClient keys("Keys", AlsaTestClient::Role::Keyboard);
    synth->MakeRoom(2000);  // for the burst the program passes on at once
    Start("In1=Keys:out\n");
    ASSERT_TRUE(PlaysUntilHeard([&] { keys.Send(On(0, 60)); }, On(0, 60))) << Why();
    const size_t mark = Mark();
    ASSERT_EQ(::kill(run.Pid(), SIGSTOP), 0);
    for (uint32_t i = 0; i < 300; ++i) keys.Send(0xB0 | 1u << 8 | (i % 128) << 16);  // modulation wheel
    keys.Send(Off(0, 60));
    ASSERT_EQ(::kill(run.Pid(), SIGCONT), 0);
    EXPECT_TRUE(test::WaitUntil([&] { return HeardSince(mark, Off(0, 60)); }, 2s)) << "the release arrives";
    EXPECT_TRUE(run.StopsCleanly()) << Why();
}

// A connection made by hand (aconnect) before the program looks is used as
// the program's own.
TEST_F(AlsaStage, AConnectionMadeByHandCountsAsOpen) {
    synth.reset();
    run.WriteText("Ostinata.ports", "SynthOut=Late:in\n");
    run.Start({"--midi", "alsa", "--dir", run.Dir().string()});
    ASSERT_TRUE(test::WaitUntil([] { return !test::ClientsNamed("Cadenzo").empty(); }, 60s)) << Why();
    std::this_thread::sleep_for(1s);
    ASSERT_EQ(::kill(run.Pid(), SIGSTOP), 0);
    synth = std::make_unique<AlsaTestClient>("Late", AlsaTestClient::Role::Synth);
    const int program = test::ClientsNamed("Cadenzo").front().number;  // SynthOut is its fourth port
    const int made = std::system(("aconnect " + std::to_string(program) + ":3 Late:0").c_str());
    ASSERT_EQ(::kill(run.Pid(), SIGCONT), 0);
    ASSERT_EQ(made, 0);
    EXPECT_TRUE(test::WaitUntil([&] { return !synth->Heard().empty(); }, 10s)) << "the start-up set; " << Why();
    EXPECT_TRUE(run.StopsCleanly()) << Why();
}

// Slot 1 with sixteen layers on In1 that sound programs apart, each of
// them mono, bent by pressure and in terca mode, unlike slot 0's.
void SixteenLayers(MixBank& bank) {
    bank.Slots[0].Channels[0].In1Channel = 17;
    bank.Slots[0].Channels[1].In2Channel = 17;
    for (uint32_t c = 0; c < 16; ++c) {
        ChannelRecord& layer = bank.Slots[1].Channels[c];
        layer.In1Channel = 17;
        layer.PG = static_cast<uint8_t>(20 + c);
        layer.MD = layer.AT = layer.Trc = 1;
    }
}

uint32_t ProgramChange(uint32_t ch, uint32_t program) { return 0xC0 | ch | program << 8; }

// A program change at In1 transmits a mix of sixteen layers, more than the
// synthesiser's queue holds: reading only every 20 ms, it hears all of it,
// as does a listener of SynthOut with room for everything at once.
TEST_F(AlsaStage, AMixTransmissionArrivesWholeAtASynthesiserThatReadsAsItCan) {
    OptionsRecord options = test::DefaultOptions();
    options.ChangeBlendsWithBanks = 1;  // a bank select and four controllers more for each layer
    options.UserCC1 = 71;
    options.UserCC2 = 72;
    options.UserCC3 = 73;
    options.UserCC4 = 74;
    run.WriteOptionsRecord(options);
    run.WriteBank(SixteenLayers);
    AlsaTestClient keys("Keys", AlsaTestClient::Role::Keyboard);
    AlsaTestClient tap("Tap", AlsaTestClient::Role::Synth);
    tap.MakeRoom(2000);
    Start("In1=Keys:out\n");
    ASSERT_TRUE(test::WaitUntil([&] { return synth->Joined() && !synth->Heard().empty(); }, 60s)) << Why();
    ASSERT_EQ(std::system("aconnect Cadenzo:3 Tap:0"), 0);  // SynthOut is the program's fourth port
    synth->HeardOnceQuiet(1s);
    const size_t mark = Mark();
    const size_t tapMark = tap.Heard().size();
    keys.Send(ProgramChange(0, 1));
    const auto allPrograms = [&] {
        std::this_thread::sleep_for(20ms);
        for (uint32_t c = 0; c < 16; ++c)
            if (!HeardSince(mark, ProgramChange(c, 20 + c))) return false;
        return true;
    };
    EXPECT_TRUE(test::WaitUntil(allPrograms, 30s)) << "every layer's program; " << Why();
    const size_t heard = synth->HeardOnceQuiet(1s) - mark;
    const size_t sent = tap.HeardOnceQuiet(1s) - tapMark;
    EXPECT_GT(sent, 300u) << "well past what the synthesiser's queue holds";
    EXPECT_EQ(heard, sent);
    EXPECT_TRUE(run.StopsCleanly()) << Why();
}

// A synthesiser another client holds exclusively cannot be opened: at start
// that is said as for any device that will not open; found later, it is not
// asked again until the sequencer announces a change, and once let go it is
// joined and gets the start-up set once.
TEST_F(AlsaStage, ASynthesiserHeldExclusivelyIsReportedAndJoinedOnceLetGo) {
    AlsaTestClient holder("Holder", AlsaTestClient::Role::Keyboard);
    ASSERT_EQ(std::system("aconnect -e Holder:0 Synth:0"), 0);
    Start("");
    ASSERT_TRUE(test::WaitUntil([] { return !test::ClientsNamed("Cadenzo").empty(); }, 60s)) << Why();
    std::this_thread::sleep_for(2s);
    EXPECT_TRUE(synth->Heard().empty());
    EXPECT_TRUE(run.StopsCleanly()) << Why();
    EXPECT_NE(run.Errors().find("Errorr: The specified resource is already allocated."), std::string::npos)
        << run.Errors();
    ASSERT_EQ(std::system("aconnect -d Holder:0 Synth:0"), 0);  // a port holds one exclusive subscription

    // The DSP port hears the start-up set once the ports are open: the
    // synthesiser appears only after that, so no box is shown for it.
    AlsaTestClient dsp("Dsp", AlsaTestClient::Role::Synth);
    dsp.MakeRoom(2000);
    test::ProgramRun late;
    late.WriteOptionsRecord(test::DefaultOptions());
    late.WriteBank();
    late.WriteText("Ostinata.ports", "SynthOut=Late:in\nControlOut=Dsp:in\n");
    late.Start({"--midi", "alsa", "--dir", late.Dir().string()});
    ASSERT_TRUE(test::WaitUntil([&] { return !dsp.Heard().empty(); }, 60s)) << late.Errors();
    AlsaTestClient ear("Ear", AlsaTestClient::Role::Synth);
    ear.MakeRoom(2000);
    ASSERT_EQ(std::system("aconnect Cadenzo:3 Ear:0"), 0);
    ASSERT_EQ(::kill(late.Pid(), SIGSTOP), 0);
    AlsaTestClient lateSynth("Late", AlsaTestClient::Role::Synth);
    const int held = std::system("aconnect -e Holder:0 Late:0");
    ASSERT_EQ(::kill(late.Pid(), SIGCONT), 0);
    ASSERT_EQ(held, 0);
    std::this_thread::sleep_for(3s);
    EXPECT_TRUE(lateSynth.Heard().empty());
    EXPECT_TRUE(ear.Heard().empty()) << "nothing sent while the synthesiser is held";
    ASSERT_EQ(std::system("aconnect -d Holder:0 Late:0"), 0);
    EXPECT_TRUE(test::WaitUntil([&] { return !lateSynth.Heard().empty(); }, 10s)) << "joined once let go";
    EXPECT_EQ(ear.HeardOnceQuiet(3s), lateSynth.HeardOnceQuiet(1s)) << "what the synthesiser got, no more";
    EXPECT_TRUE(late.StopsCleanly()) << late.Errors();
}

TEST_F(AlsaStage, ASynthesiserThatLeavesAndReturnsIsJoinedAndSetUpAgain) {
    AlsaTestClient keys("Keys", AlsaTestClient::Role::Keyboard);
    Start("In1=Keys:out\nIn2=Cadenzo:SynthOut\n");  // the program's own port is no device
    ASSERT_TRUE(PlaysUntilHeard([&] { keys.Send(On(0, 60)); }, On(0, 60))) << Why();
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(HeardSince(0, On(1, 60))) << "SynthOut fed back into In2";
    synth.reset();
    synth = Synth();
    ASSERT_TRUE(test::WaitUntil([&] { return synth->Joined() && !synth->Heard().empty(); }, 30s))
        << "the start-up set again; " << Why();
    EXPECT_TRUE(PlaysUntilHeard([&] { keys.Send(On(0, 64)); }, On(0, 64))) << Why();
    EXPECT_TRUE(run.StopsCleanly()) << Why();
}

}  // namespace
}  // namespace cadenzo
