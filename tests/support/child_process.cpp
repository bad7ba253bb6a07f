#include "support/child_process.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace cadenzo::test {

namespace {

std::vector<std::string> ChildEnvironment(const ChildLaunch& launch) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string& s : launch.setEnv) replaced |= s.substr(0, s.find('=')) == name;
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), launch.setEnv.begin(), launch.setEnv.end());
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

int OpenOutput(const std::filesystem::path& path) {
    return path.empty() ? -1 : ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

}  // namespace

std::optional<std::filesystem::path> FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::nullopt;
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Killed outright, a child with JACK clients would hold up a synchronous
// server for seconds: it is asked to stop first.
ChildProcess::~ChildProcess() {
    if (pid_ > 0) Stop(std::chrono::seconds(10));
}

bool ChildProcess::Start(const ChildLaunch& launch) {
    // Everything the child needs is prepared here: between fork and exec
    // only async-signal-safe calls, since the test has other threads.
    std::vector<std::string> args = launch.argv;
    std::vector<std::string> env = ChildEnvironment(launch);
    const std::vector<char*> argv = Pointers(args);
    const std::vector<char*> envp = Pointers(env);
    int input[2] = {-1, -1};
    if (args.empty() || ::pipe2(input, O_CLOEXEC) != 0) return false;
    const int out = OpenOutput(launch.out);
    const int err = OpenOutput(launch.err);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(input[0], STDIN_FILENO);
        if (out >= 0) ::dup2(out, STDOUT_FILENO);
        if (err >= 0) ::dup2(err, STDERR_FILENO);
        if (!launch.workDir.empty() && ::chdir(launch.workDir.c_str()) != 0) ::_exit(127);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    for (int fd : {input[0], out, err})
        if (fd >= 0) ::close(fd);
    input_ = input[1];
    if (pid_ < 0) Forget();
    return pid_ > 0;
}

bool ChildProcess::Running() { return pid_ > 0 && !WaitExit(std::chrono::milliseconds(0)); }

std::optional<int> ChildProcess::WaitExit(std::chrono::milliseconds timeout) {
    if (pid_ <= 0) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            Forget();
            return status;
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int ChildProcess::Stop(std::chrono::milliseconds timeout) {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    if (const auto status = WaitExit(timeout)) return *status;
    return Kill();
}

int ChildProcess::Kill() {
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    Forget();
    return status;
}

void ChildProcess::Forget() {
    pid_ = -1;
    if (input_ >= 0) ::close(input_);
    input_ = -1;
}

}  // namespace cadenzo::test
