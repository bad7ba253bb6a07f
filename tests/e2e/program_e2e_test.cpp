// The whole program on a real JACK server: started in a folder of its own
// with its settings and bank, played through its ports, and stopped as the
// system stops it.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "bank/mix_bank.h"
#include "bank/options_file.h"
#include "e2e/jack_test_client.h"
#include "midi/rtmidi/rtmidi_backend.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;

template <typename T>
void WriteImage(const fs::path& path, const T& record) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(&record), sizeof record);
}

std::vector<uint32_t> NotesOnly(const std::vector<uint32_t>& messages) {
    std::vector<uint32_t> notes;
    for (uint32_t m : messages)
        if ((m & 0xE0) == 0x80) notes.push_back(m);
    return notes;
}

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(peer.Ok()) << "no JACK server (run under with_jack.sh)";
        std::string pattern = (fs::temp_directory_path() / "cadenzo-e2e-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        fs::remove_all(dir);
    }

    // Settings that put In1 and In3 on the player's keys and thru source,
    // SynthOut and ThruOut on its sinks.
    void WriteSettings() {
        RtMidiBackend midi;
        std::vector<std::string> inputs = {""}, outputs = {""};
        for (auto& n : midi.InputNames()) inputs.push_back(n);
        for (auto& n : midi.OutputNames()) outputs.push_back(n);
        OptionsRecord options{};
        ApplyOptionDefaults(options);
        WriteU32(options.In1Device, test::DeviceNumber(inputs, peer.SourceName(0)));
        WriteU32(options.In3Device, test::DeviceNumber(inputs, peer.SourceName(1)));
        WriteU32(options.SynthOutDevice, test::DeviceNumber(outputs, peer.SinkName(0)));
        WriteU32(options.ThruOutDevice, test::DeviceNumber(outputs, peer.SinkName(1)));
        WriteImage(dir / "Ostinata.opt", options);

        static BankState bank;
        InitBankDefaults(bank);
        bank.Bank.Slots[0].Channels[0].In1Channel = 17;  // layer 1 plays everything from In1
        bank.Bank.Slots[0].Channels[3].In1Channel = 1;   // layer 4 plays In1 channel 1, an octave up
        bank.Bank.Slots[0].Channels[3].Trs = 76;
        WriteImage(dir / "def.cdb", bank.Bank);
    }

    void Start() {
        pid = ::fork();
        if (pid == 0) {
            if (::chdir(dir.c_str()) != 0) ::_exit(127);
            if (!::freopen("stderr.txt", "w", stderr)) ::_exit(127);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ::execl(CADENZO_BINARY, CADENZO_BINARY, static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    bool WaitForPort(const std::string& name) {
        for (int i = 0; i < 1500; ++i) {
            if (peer.PortExists(name)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    int Stop() {
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return status;
    }
    // The exit status once the program has ended, or nothing when it is
    // still running after `limit`.
    std::optional<int> WaitExit(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return status;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return std::nullopt;
    }

    test::JackTestClient peer{"player", {"keys", "thru_in"}, {"synth", "thru_sink"}};
    fs::path dir;
    pid_t pid = -1;
};

TEST_F(Program, PlaysThroughTheMixAndTheThruPortAndSavesTheBankWhenStopped) {
    WriteSettings();
    Start();
    ASSERT_TRUE(WaitForPort("Cadenzo In1:In1"));
    ASSERT_TRUE(WaitForPort("Cadenzo In3:In3"));
    ASSERT_TRUE(WaitForPort("Cadenzo SynthOut:SynthOut"));
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

    const auto bankBefore = fs::file_size(dir / "def.cdb");
    const int status = Stop();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(fs::file_size(dir / "def.cdb"), bankBefore);
    EXPECT_FALSE(peer.PortExists("Cadenzo In1:In1"));
}

// In an empty folder the program waits at its first box ("options file not
// exist") for a person; a stop request answers it and every later box.
TEST_F(Program, AStopRequestWhileAStartUpBoxWaitsEndsTheRunAndSavesTheBank) {
    Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ::kill(pid, SIGTERM);
    const std::optional<int> status = WaitExit(std::chrono::seconds(20));
    ASSERT_TRUE(status.has_value()) << "the program still waits for someone to answer its box";
    ASSERT_TRUE(WIFEXITED(*status)) << *status;
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_EQ(fs::file_size(dir / "def.cdb"), sizeof(MixBank));
    std::ifstream said(dir / "stderr.txt");
    const std::string text{std::istreambuf_iterator<char>(said), std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("Errorr!: Options file not exist!"), std::string::npos) << text;
}

}  // namespace
}  // namespace cadenzo
