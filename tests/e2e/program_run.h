// The whole program as its own process, for end-to-end tests: a folder of
// its own with the settings and the bank written there, the program started
// on the offscreen platform, its output kept, and stopped as the system
// stops it. Test thread only.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bank/mix_records.h"
#include "bank/options_record.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace cadenzo::test {

// Full names of the devices to open, as the MIDI service lists them; an
// empty name leaves the port closed.
struct PortDevices {
    std::string In1 = {};
    std::string In3 = {};
    std::string SynthOut = {};
    std::string ThruOut = {};
};

class ProgramRun {
public:
    // The program's folder, where the settings and the bank are written.
    const std::filesystem::path& Dir() const { return folder_.Path(); }

    // "Ostinata.opt" at its defaults, each named device chosen by its
    // number in the device list as the MIDI service gives it now.
    void WriteOptions(const PortDevices& devices);
    // "Ostinata.opt" as given.
    void WriteOptionsRecord(const OptionsRecord& options);
    // "def.cdb": the default bank as `edit` leaves it.
    void WriteBank(const std::function<void(MixBank&)>& edit = {});
    // Another file of the folder, as text.
    void WriteText(const std::string& file, const std::string& text);

    // Starts the program with `arguments`, in `workDir` (by default its
    // folder) and with `setEnv` (NAME=VALUE) over the test's environment.
    void Start(const std::vector<std::string>& arguments = {}, const std::vector<std::string>& setEnv = {},
               const std::filesystem::path& workDir = {});
    pid_t Pid() const { return process_.Pid(); }
    bool Running() { return process_.Running(); }
    std::optional<int> WaitExit(std::chrono::milliseconds timeout) { return process_.WaitExit(timeout); }
    // SIGTERM, and the wait status.
    int Stop() { return process_.Stop(); }
    // SIGTERM; then whether it ended by itself with exit code 0.
    bool StopsCleanly();

    std::string Output() const { return ReadText(logs_.Path() / "out"); }
    std::string Errors() const { return ReadText(logs_.Path() / "err"); }

private:
    TempFolder folder_;
    TempFolder logs_;
    ChildProcess process_;
};

// Options at their defaults: nothing opens by number.
OptionsRecord DefaultOptions();

// Polls `condition` until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(15000));

}  // namespace cadenzo::test
