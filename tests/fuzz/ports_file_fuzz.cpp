// The ports file "Ostinata.ports" as the program reads it at start-up: the
// fuzzer's bytes are the file. The names it gives, written again as the
// setup dialog's save writes them and read back, are the same names; a port
// without a line comes back as "no device".
#include <array>
#include <sstream>
#include <string>

#include "bank/ports_file.h"
#include "fuzz/fuzz_folder.h"
#include "support/recorders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace cadenzo;
    using namespace cadenzo::fuzz;
    InFuzzFolder here;
    WriteWholeFile(kPortsFile, data, size);
    std::ostringstream report;  // lines not understood: any, for bytes like these
    const PortNames read = ReadPortsFile(report);
    std::array<std::string, 6> devices;
    for (size_t i = 0; i < devices.size(); ++i) devices[i] = read[i].value_or("");
    test::RecordingDialogs dialogs;
    SavePortsFile(devices, dialogs);
    Require(dialogs.boxes.empty(), "the ports file could not be written");
    const PortNames again = ReadPortsFile(report);
    for (size_t i = 0; i < devices.size(); ++i) {
        if (again[i] != devices[i]) {
            std::fprintf(stderr, "port %zu: \"%s\" came back as \"%s\"\n", i, devices[i].c_str(),
                         again[i].value_or("(no line)").c_str());
            Fail("a ports file written and read again gives other names");
        }
    }
    return 0;
}
