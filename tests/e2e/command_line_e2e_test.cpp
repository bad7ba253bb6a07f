// The program's command line as a user meets it: answers that need no
// screen, the folder it works in, and the MIDI service it is told to use.
#include <filesystem>
#include <thread>
#include <sys/wait.h>

#include <unistd.h>

#include <gtest/gtest.h>

#include "e2e/jack_test_client.h"
#include "e2e/program_run.h"

namespace cadenzo {
namespace {

using namespace std::chrono_literals;

// The X platform with no display to reach: a program that set up its
// windows would abort here.
const std::vector<std::string> kNoScreen = {"QT_QPA_PLATFORM=xcb", "DISPLAY="};

int ExitCode(std::optional<int> status) {
    if (!status || !WIFEXITED(*status)) return -1;
    return WEXITSTATUS(*status);
}

TEST(CommandLineRun, HelpAnswersWithoutAScreen) {
    test::ProgramRun help;
    help.Start({"--help"}, kNoScreen);
    EXPECT_EQ(ExitCode(help.WaitExit(30s)), 0);
    EXPECT_TRUE(help.Output().starts_with("Usage: cadenzo [options]\n")) << help.Output();
    EXPECT_EQ(help.Errors(), "");
}

TEST(CommandLineRun, BadArgumentsEndWithStatusTwoBeforeAnyWindow) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus"}, "cadenzo: Unknown option 'bogus'.\n"},
        {{"--dir", "/proc/version/sets"}, "cadenzo: Cannot use the folder '/proc/version/sets': Not a directory.\n"},
    };
    for (const auto& [arguments, message] : cases) {
        test::ProgramRun run;
        run.Start(arguments, kNoScreen);
        EXPECT_EQ(ExitCode(run.WaitExit(30s)), 2) << arguments[0];
        EXPECT_EQ(run.Errors(), message + "Try 'cadenzo --help' for more information.\n");
        EXPECT_EQ(run.Output(), "");
        EXPECT_TRUE(std::filesystem::is_empty(run.Dir())) << "nothing written by " << arguments[0];
    }
}

TEST(CommandLineRun, TheFolderNamedIsTheOneTheProgramWorksIn) {
    test::JackTestClient peer{"player", {"keys"}, {}};
    ASSERT_TRUE(peer.Ok()) << "no JACK server (run under with_jack.sh)";
    test::ProgramRun program;
    program.WriteOptions({.In1 = peer.SourceName(0)});
    program.WriteBank();
    const test::TempFolder elsewhere;
    program.Start({"--dir", program.Dir().string(), "--midi", "jack"}, {}, elsewhere.Path());
    // The connection shows that the settings were read from that folder.
    ASSERT_TRUE(peer.WaitSourceConnected(0)) << program.Errors();
    EXPECT_EQ(std::filesystem::read_symlink("/proc/" + std::to_string(program.Pid()) + "/cwd"), program.Dir());
    const int status = program.Stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.Path()));
}

TEST(CommandLineRun, AServiceAskedForThatDoesNotAnswerStartsWithNoDevicesAndSaysSo) {
    const struct {
        const char* service;
        std::vector<std::string> env;
        std::string note;
    } rows[] = {
        {"jack", {"JACK_DEFAULT_SERVER=cadenzo-no-such-server"},
         "cadenzo: No JACK server is running: starting with no MIDI devices until a JACK server starts.\n"},
        {"alsa", {}, "cadenzo: The ALSA sequencer (/dev/snd/seq) cannot be opened: starting with no MIDI devices.\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.service);
        if (row.service == std::string("alsa") && ::access("/dev/snd/seq", F_OK) == 0) continue;  // it answers here
        test::ProgramRun program;
        program.WriteOptions({});
        program.WriteBank();
        program.Start({"--midi", row.service}, row.env);
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (program.Errors().find(row.note) == std::string::npos && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
        ASSERT_NE(program.Errors().find(row.note), std::string::npos) << program.Errors();
        // Time for the window to come up: the run goes on without devices.
        std::this_thread::sleep_for(2s);
        ASSERT_TRUE(program.Running()) << program.Errors();
        const int status = program.Stop();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
}

}  // namespace
}  // namespace cadenzo
