// The whole program on a real JACK server: started in a folder of its own
// with its settings and bank, played through its ports, and stopped as the
// system stops it.
#include <csignal>
#include <filesystem>
#include <optional>
#include <thread>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "e2e/jack_test_client.h"
#include "e2e/program_run.h"

namespace cadenzo {
namespace {

std::vector<uint32_t> NotesOnly(const std::vector<uint32_t>& messages) {
    std::vector<uint32_t> notes;
    for (uint32_t m : messages)
        if ((m & 0xE0) == 0x80) notes.push_back(m);
    return notes;
}

class Program : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(peer.Ok()) << "no JACK server (run under with_jack.sh)"; }

    test::JackTestClient peer{"player", {"keys", "thru_in"}, {"synth", "thru_sink"}};
    test::ProgramRun program;
};

TEST_F(Program, PlaysThroughTheMixAndTheThruPortAndSavesTheBankWhenStopped) {
    // In1 and In3 on the player's keys and thru source, SynthOut and ThruOut on its sinks.
    program.WriteOptions({.In1 = peer.SourceName(0),
                          .In3 = peer.SourceName(1),
                          .SynthOut = peer.SinkName(0),
                          .ThruOut = peer.SinkName(1)});
    program.WriteBank([](MixBank& bank) {
        bank.Slots[0].Channels[0].In1Channel = 17;  // layer 1 plays everything from In1
        bank.Slots[0].Channels[3].In1Channel = 1;   // layer 4 plays In1 channel 1, an octave up
        bank.Slots[0].Channels[3].Trs = 76;
    });
    program.Start();
    ASSERT_TRUE(peer.WaitForPort("Cadenzo:In1"));
    ASSERT_TRUE(peer.WaitForPort("Cadenzo:In3"));
    ASSERT_TRUE(peer.WaitForPort("Cadenzo:SynthOut"));
    ASSERT_TRUE(peer.WaitSourceConnected(0));
    ASSERT_TRUE(peer.WaitSourceConnected(1));
    ASSERT_TRUE(peer.WaitSinkConnected(0));
    ASSERT_TRUE(peer.WaitSinkConnected(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let the start-up transmission pass

    const std::vector<uint32_t> played = {0x643C90, 0x404091, 0x003C80, 0x004081};
    for (uint32_t m : played) peer.Send(0, m);
    peer.Send(1, 0x7F2A99);

    // Channel 1 reaches layers 1 and 4 (an octave up); channel 2 only layer 1.
    const std::vector<uint32_t> expected = {0x643C90, 0x644893, 0x404090, 0x003C80, 0x004883, 0x004080};
    EXPECT_EQ(NotesOnly(peer.Receive(0, 100, std::chrono::milliseconds(5000))), expected);
    EXPECT_EQ(peer.Receive(1, 1), std::vector<uint32_t>{0x7F2A99});

    const auto bankBefore = std::filesystem::file_size(program.Dir() / "def.cdb");
    const int status = program.Stop();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(std::filesystem::file_size(program.Dir() / "def.cdb"), bankBefore);
    EXPECT_FALSE(peer.PortExists("Cadenzo:In1"));
}

// In an empty folder the program waits at its first box ("options file not
// exist") for a person; a stop request answers it and every later box: the
// system stopping it, Ctrl+C, or its terminal closed.
TEST_F(Program, AStopRequestWhileAStartUpBoxWaitsEndsTheRunAndSavesTheBank) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(::testing::Message() << "signal " << signal);
        test::ProgramRun run;
        run.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        ::kill(run.Pid(), signal);
        const std::optional<int> status = run.WaitExit(std::chrono::seconds(20));
        ASSERT_TRUE(status.has_value()) << "the program still waits for someone to answer its box";
        ASSERT_TRUE(WIFEXITED(*status)) << *status;
        EXPECT_EQ(WEXITSTATUS(*status), 0);
        EXPECT_EQ(std::filesystem::file_size(run.Dir() / "def.cdb"), sizeof(MixBank));
        EXPECT_NE(run.Errors().find("Errorr!: Options file not exist!"), std::string::npos) << run.Errors();
    }
}

}  // namespace
}  // namespace cadenzo
