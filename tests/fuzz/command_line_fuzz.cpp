// The command line: the fuzzer's bytes are the arguments after the program's
// name, separated by zero bytes, as the process receives them. Every outcome
// is consistent (an error says what is wrong, a run says nothing), and what
// a run was asked for, written again as a command line, reads the same.
#include <cstring>
#include <string>

#include <QStringList>

#include "app/command_line.h"
#include "bank/window_title.h"
#include "fuzz/fuzz_folder.h"

namespace cadenzo::fuzz {
namespace {

QStringList ArgumentsOf(const uint8_t* data, size_t size) {
    QStringList arguments{"cadenzo"};
    const char* text = reinterpret_cast<const char*>(data);
    for (size_t start = 0; start <= size;) {
        const void* zero = std::memchr(text + start, 0, size - start);
        const size_t end = zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - text) : size;
        arguments << QString::fromLocal8Bit(text + start, static_cast<qsizetype>(end - start));
        start = end + 1;
    }
    return arguments;
}

// The command line that asks for `parsed` again.
QStringList Rewritten(const CommandLine& parsed) {
    QStringList arguments{"cadenzo"};
    if (parsed.options.dir) arguments << "--dir=" + QString::fromLocal8Bit(*parsed.options.dir);
    if (parsed.options.midi == MidiService::Alsa) arguments << "--midi" << "alsa";
    if (parsed.options.midi == MidiService::Jack) arguments << "--midi" << "jack";
    if (parsed.outcome == CommandLine::Outcome::ListDevices) arguments << "--list-devices";
    return arguments;
}

void CheckOutcome(const CommandLine& parsed) {
    switch (parsed.outcome) {
    case CommandLine::Outcome::Run:
    case CommandLine::Outcome::ListDevices:
        Require(parsed.text.empty(), "a run comes with a text");
        Require(!parsed.options.dir || !parsed.options.dir->empty(), "a run names an empty folder");
        break;
    case CommandLine::Outcome::Help:
        Require(parsed.text.starts_with("Usage: cadenzo [options]\n"), "the help does not start with the usage");
        break;
    case CommandLine::Outcome::Version:
        Require(parsed.text == "cadenzo " + std::string(ProgramVersion()) + "\n", "the version text is wrong");
        break;
    case CommandLine::Outcome::Error:
        Require(!parsed.text.empty(), "an error without a message");
        break;
    }
}

}  // namespace
}  // namespace cadenzo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace cadenzo;
    using namespace cadenzo::fuzz;
    const CommandLine parsed = ParseCommandLine(ArgumentsOf(data, size));
    CheckOutcome(parsed);
    if (parsed.outcome != CommandLine::Outcome::Run && parsed.outcome != CommandLine::Outcome::ListDevices) return 0;
    const CommandLine again = ParseCommandLine(Rewritten(parsed));
    Require(again.outcome == parsed.outcome && again.options.dir == parsed.options.dir &&
                again.options.midi == parsed.options.midi,
            "a run's command line written again reads otherwise");
    return 0;
}
