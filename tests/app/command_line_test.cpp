#include <gtest/gtest.h>

#include "app/command_line.h"

namespace cadenzo {
namespace {

using Outcome = CommandLine::Outcome;

CommandLine Parse(const QStringList& arguments) { return ParseCommandLine(QStringList{"cadenzo"} + arguments); }

TEST(CommandLine, NoArgumentsRunInTheCurrentFolderWithTheServiceThatAnswers) {
    const CommandLine c = Parse({});
    EXPECT_EQ(c.outcome, Outcome::Run);
    EXPECT_FALSE(c.options.dir);
    EXPECT_EQ(c.options.midi, MidiService::Automatic);
}

TEST(CommandLine, FolderAndServiceAreTakenInEitherSpelling) {
    CommandLine c = Parse({"--dir", "/home/player/my sets", "--midi", "jack"});
    EXPECT_EQ(c.outcome, Outcome::Run);
    EXPECT_EQ(c.options.dir, "/home/player/my sets");
    EXPECT_EQ(c.options.midi, MidiService::Jack);
    c = Parse({"--midi=alsa", "--dir=~/sets"});
    EXPECT_EQ(c.outcome, Outcome::Run);
    EXPECT_EQ(c.options.dir, "~/sets");
    EXPECT_EQ(c.options.midi, MidiService::Alsa);
    c = Parse({"--list-devices", "--midi", "jack"});
    EXPECT_EQ(c.outcome, Outcome::ListDevices);
    EXPECT_EQ(c.options.midi, MidiService::Jack);
}

TEST(CommandLine, HelpNamesTheProgramAndEveryOption) {
    for (const char* help : {"--help", "-h"}) {
        const CommandLine c = Parse({help});
        EXPECT_EQ(c.outcome, Outcome::Help);
        EXPECT_TRUE(c.text.starts_with("Usage: cadenzo [options]\n")) << c.text;
        for (const char* option : {"--dir <DIR>", "--midi <alsa|jack>", "--list-devices", "--version"})
            EXPECT_NE(c.text.find(option), std::string::npos) << option;
    }
}

TEST(CommandLine, VersionIsTheTitlesVersion) {
    const CommandLine c = Parse({"--version"});
    EXPECT_EQ(c.outcome, Outcome::Version);
    EXPECT_EQ(c.text, "cadenzo 5.01\n");
}

TEST(CommandLine, EveryBadArgumentIsAnErrorThatSaysWhatIsWrong) {
    const std::vector<std::pair<QStringList, std::string>> cases = {
        {{"--bogus"}, "Unknown option 'bogus'."},
        {{"-platform", "xcb"}, "Unknown option 'platform'."},
        {{"--dir"}, "Missing value after '--dir'."},
        {{"--dir", ""}, "--dir needs a folder name."},
        {{"--dir", QString::fromLocal8Bit("sets-\xE9t\xE9")}, "--dir takes a folder name in UTF-8; this one is not."},
        {{"--midi", "oss"}, "--midi takes alsa or jack, not 'oss'."},
        {{"--midi", "JACK"}, "--midi takes alsa or jack, not 'JACK'."},
        {{"sets"}, "Unexpected argument 'sets'."},
        {{"--help", "--bogus"}, "Unknown option 'bogus'."},
    };
    for (const auto& [arguments, message] : cases) {
        const CommandLine c = Parse(arguments);
        EXPECT_EQ(c.outcome, Outcome::Error) << arguments.join(' ').toStdString();
        EXPECT_EQ(c.text, message);
    }
}

}  // namespace
}  // namespace cadenzo
