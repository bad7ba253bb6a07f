#include "e2e/program_run.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

#include "bank/options_file.h"

namespace cadenzo::test {

namespace fs = std::filesystem;

namespace {

template <typename T>
void WriteImage(const fs::path& path, const T& record) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(&record), sizeof record);
}

}  // namespace

ProgramRun::ProgramRun() {
    std::string pattern = (fs::temp_directory_path() / "cadenzo-e2e-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) dir_ = pattern;
}

ProgramRun::~ProgramRun() {
    // Killed outright, its JACK clients would hold up a synchronous server
    // for seconds: asked to stop first.
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        if (!WaitUntil([&] { return !Running(); }, std::chrono::seconds(10))) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    if (!dir_.empty()) fs::remove_all(dir_);
}

void ProgramRun::WriteOptions(const OptionsRecord& options) { WriteImage(dir_ / kOptionsFile, options); }
void ProgramRun::WriteBank(const MixBank& bank) { WriteImage(dir_ / "def.cdb", bank); }
void ProgramRun::WriteText(const std::string& file, const std::string& text) { std::ofstream(dir_ / file) << text; }

void ProgramRun::Start() {
    pid_ = ::fork();
    if (pid_ == 0) {
        if (::chdir(dir_.c_str()) != 0) ::_exit(127);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execl(CADENZO_BINARY, CADENZO_BINARY, static_cast<char*>(nullptr));
        ::_exit(127);
    }
}

bool ProgramRun::Running() {
    if (pid_ <= 0) return false;
    if (::waitpid(pid_, &status_, WNOHANG) == 0) return true;
    pid_ = -1;
    return false;
}

bool ProgramRun::StopsCleanly() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, &status_, 0);
        pid_ = -1;
    }
    return WIFEXITED(status_) && WEXITSTATUS(status_) == 0;
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
