#include "e2e/program_run.h"

#include <fstream>
#include <memory>
#include <thread>
#include <sys/wait.h>

#include "bank/blend_file.h"
#include "bank/mix_bank.h"
#include "bank/options_file.h"
#include "midi/listed_device.h"
#include "midi/jack/jack_backend.h"

namespace cadenzo::test {

namespace {

template <typename T>
void WriteImage(const std::filesystem::path& path, const T& record) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(&record), sizeof record);
}

}  // namespace

void ProgramRun::WriteOptions(const PortDevices& devices) {
    JackBackend midi;
    const std::vector<std::string> inputs = midi.InputNames();
    const std::vector<std::string> outputs = midi.OutputNames();
    OptionsRecord options{};
    ApplyOptionDefaults(options);
    WriteU32(options.In1Device, ListedDeviceNumber(inputs, devices.In1));
    WriteU32(options.In3Device, ListedDeviceNumber(inputs, devices.In3));
    WriteU32(options.SynthOutDevice, ListedDeviceNumber(outputs, devices.SynthOut));
    WriteU32(options.ThruOutDevice, ListedDeviceNumber(outputs, devices.ThruOut));
    WriteImage(Dir() / kOptionsFile, options);
}

void ProgramRun::WriteOptionsRecord(const OptionsRecord& options) { WriteImage(Dir() / kOptionsFile, options); }

void ProgramRun::WriteText(const std::string& file, const std::string& text) { std::ofstream(Dir() / file) << text; }

void ProgramRun::WriteBank(const std::function<void(MixBank&)>& edit) {
    const auto bank = std::make_unique<BankState>();
    InitBankDefaults(*bank);
    if (edit) edit(bank->Bank);
    WriteImage(Dir() / kDefaultBlendFile, bank->Bank);
}

void ProgramRun::Start(const std::vector<std::string>& arguments, const std::vector<std::string>& setEnv,
                       const std::filesystem::path& workDir) {
    ChildLaunch launch;
    launch.argv = {CADENZO_BINARY};
    launch.argv.insert(launch.argv.end(), arguments.begin(), arguments.end());
    launch.workDir = workDir.empty() ? Dir() : workDir;
    launch.setEnv = {"QT_QPA_PLATFORM=offscreen"};
    launch.setEnv.insert(launch.setEnv.end(), setEnv.begin(), setEnv.end());
    launch.out = logs_.Path() / "out";
    launch.err = logs_.Path() / "err";
    process_.Start(launch);
}

bool ProgramRun::StopsCleanly() {
    const int status = Stop();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

OptionsRecord DefaultOptions() {
    OptionsRecord options{};
    ApplyOptionDefaults(options);
    return options;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace cadenzo::test
