#include <filesystem>

#include <sstream>

#include <gtest/gtest.h>

#include "bank/file_io.h"
#include "bank/ports_file.h"
#include "support/recorders.h"
#include "support/temp_dir.h"

namespace cadenzo {
namespace {

class PortsFile : public test::InTempDir {
protected:
    void Write(const std::string& text) { WriteBytes(kPortsFile, {text.begin(), text.end()}); }
    std::string Text() {
        const auto bytes = ReadBytes(kPortsFile);
        return {bytes.begin(), bytes.end()};
    }
    test::RecordingDialogs dialogs;
    std::ostringstream report;
};

TEST_F(PortsFile, SavesOneLinePerPortAndReadsItBackInFull) {
    const std::array<std::string, 6> devices{"system:midi_capture_1", "", "Клавиши 2 = left", "a2j:Synth [20] (playback)", "",
                                             "ctl"};
    SavePortsFile(devices, dialogs);
    EXPECT_EQ(Text(), "In1=system:midi_capture_1\nIn2=\nIn3=Клавиши 2 = left\n"
                      "SynthOut=a2j:Synth [20] (playback)\nThruOut=\nControlOut=ctl\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{kPortsFile}) << "no temporary file left";
    const PortNames read = ReadPortsFile(report);
    for (size_t i = 0; i < devices.size(); ++i) EXPECT_EQ(read[i], devices[i]) << i;
    EXPECT_TRUE(dialogs.boxes.empty());

    // Which of several devices of one name: only past the first, only for a
    // named device; its port number within its client where known.
    PortClientPorts numbers{};
    numbers[0] = 0;
    numbers[1] = 4;
    numbers[5] = 7;
    SavePortsFile(devices, dialogs, {2, 3, 1, 0, 0, 12}, numbers);
    EXPECT_EQ(Text(), "In1=system:midi_capture_1\nIn1.Order=2\nIn1.ClientPort=0\nIn2=\nIn3=Клавиши 2 = left\n"
                      "SynthOut=a2j:Synth [20] (playback)\nThruOut=\nControlOut=ctl\nControlOut.Order=12\n"
                      "ControlOut.ClientPort=7\n");
    PortOrders orders{};
    PortClientPorts readNumbers{};
    EXPECT_EQ(ReadPortsFile(report, &orders, &readNumbers), read);
    EXPECT_EQ(orders, (PortOrders{2, 0, 0, 0, 0, 12}));
    numbers[1].reset();
    EXPECT_EQ(readNumbers, numbers);
    EXPECT_TRUE(report.str().empty());
}

TEST_F(PortsFile, AMissingFileOrLineNamesNothingAndOtherLinesAreIgnored) {
    EXPECT_EQ(ReadPortsFile(report), PortNames{});
    Write("\xEF\xBB\xBF" "SynthOut=Synth\r\n# a note\n\n in1 = Lower Keys \r\nGarbage\nThruOut=\nIn2=Keys\n"
          "In2=Keys 2\r\nIn4=Keys\nin2.order = 3\nIn1.Order=0\nIn3.Order=x\nIn3.Orders=2\nIn3.ClientPort=\n");
    PortNames expected;
    expected[0] = "Lower Keys";  // key in any case, spaces around key and value left out
    expected[1] = "Keys 2";      // the last line for a port counts
    expected[3] = "Synth";       // after a byte-order mark, before a Windows line end
    expected[4] = "";
    PortOrders orders{};
    EXPECT_EQ(ReadPortsFile(report, &orders), expected);
    EXPECT_EQ(orders, (PortOrders{0, 3, 0, 0, 0, 0}));
    EXPECT_EQ(report.str(), "Ostinata.ports, line 5, not understood and ignored: Garbage\n"
                            "Ostinata.ports, line 9, not understood and ignored: In4=Keys\n"
                            "Ostinata.ports, line 11, not understood and ignored: In1.Order=0\n"
                            "Ostinata.ports, line 12, not understood and ignored: In3.Order=x\n"
                            "Ostinata.ports, line 13, not understood and ignored: In3.Orders=2\n"
                            "Ostinata.ports, line 14, not understood and ignored: In3.ClientPort=\n");
    Write("In1=Keys");  // no final line break
    EXPECT_EQ(ReadPortsFile(report)[0], "Keys");
    Write("In3=Thru\r\r\n");  // line ends converted twice
    EXPECT_EQ(ReadPortsFile(report)[2], "Thru");
}

TEST_F(PortsFile, AFileThatCannotBeReplacedIsReportedAndKept) {
    std::filesystem::create_directory(kPortsFile);
    EXPECT_EQ(ReadPortsFile(report), PortNames{});
    EXPECT_THROW(SavePortsFile({}, dialogs), FileError);
}

}  // namespace
}  // namespace cadenzo
