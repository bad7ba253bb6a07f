// The whole program on a real JACK server: started in a folder of its own
// with its settings and bank, played through its ports, and stopped as the
// system stops it.
#include <filesystem>

#include <gtest/gtest.h>

#include "bank/mix_bank.h"
#include "e2e/jack_test_client.h"
#include "e2e/program_run.h"
#include "midi/rtmidi/rtmidi_backend.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;

class Program : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(peer.Ok()) << "no JACK server (run under with_jack.sh)"; }

    // Settings that put In1 and In3 on the player's keys and thru source,
    // SynthOut and ThruOut on its sinks, by their places in the lists.
    void WriteSettings() {
        std::vector<std::string> inputs = {""}, outputs = {""};
        {
            RtMidiBackend midi;
            for (auto& n : midi.InputNames()) inputs.push_back(n);
            for (auto& n : midi.OutputNames()) outputs.push_back(n);
        }
        OptionsRecord options = test::DefaultOptions();
        WriteU32(options.In1Device, test::DeviceNumber(inputs, peer.SourceName(0)));
        WriteU32(options.In3Device, test::DeviceNumber(inputs, peer.SourceName(1)));
        WriteU32(options.SynthOutDevice, test::DeviceNumber(outputs, peer.SinkName(0)));
        WriteU32(options.ThruOutDevice, test::DeviceNumber(outputs, peer.SinkName(1)));
        run.WriteOptions(options);

        static BankState bank;
        InitBankDefaults(bank);
        bank.Bank.Slots[0].Channels[0].In1Channel = 17;  // layer 1 plays everything from In1
        bank.Bank.Slots[0].Channels[3].In1Channel = 1;   // layer 4 plays In1 channel 1, an octave up
        bank.Bank.Slots[0].Channels[3].Trs = 76;
        run.WriteBank(bank.Bank);
    }

    test::JackTestClient peer{"player", {"keys", "thru_in"}, {"synth", "thru_sink"}};
    test::ProgramRun run;
};

TEST_F(Program, PlaysThroughTheMixAndTheThruPortAndSavesTheBankWhenStopped) {
    WriteSettings();
    run.Start();
    for (const char* port : {"Cadenzo In1:In1", "Cadenzo In3:In3", "Cadenzo SynthOut:SynthOut"})
        ASSERT_TRUE(test::WaitUntil([&] { return peer.PortExists(port); })) << port;
    ASSERT_TRUE(peer.WaitSourceConnected(0));
    ASSERT_TRUE(peer.WaitSourceConnected(1));
    ASSERT_TRUE(peer.WaitSinkConnected(0));
    ASSERT_TRUE(peer.WaitSinkConnected(1));

    const std::vector<uint32_t> played = {0x643C90, 0x404091, 0x003C80, 0x004081};
    for (uint32_t m : played) peer.Send(0, m);
    peer.Send(1, 0x7F2A99);

    // Channel 1 reaches layers 1 and 4 (an octave up); channel 2 only layer 1.
    const std::vector<uint32_t> expected = {0x643C90, 0x644893, 0x404090, 0x003C80, 0x004883, 0x004080};
    EXPECT_EQ(test::NotesOnly(peer.Receive(0, 100, std::chrono::milliseconds(5000))), expected);
    EXPECT_EQ(peer.Receive(1, 1), std::vector<uint32_t>{0x7F2A99});

    const auto bankBefore = fs::file_size(run.Dir() / "def.cdb");
    EXPECT_TRUE(run.StopsCleanly());
    EXPECT_EQ(fs::file_size(run.Dir() / "def.cdb"), bankBefore);
    EXPECT_FALSE(peer.PortExists("Cadenzo In1:In1"));
}

}  // namespace
}  // namespace cadenzo
