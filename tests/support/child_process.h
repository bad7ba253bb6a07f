// A program run as a child of the test: started with its own arguments,
// folder and environment, its output kept in files, and stopped as the
// system stops programs. Test thread only.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace cadenzo::test {

// The path of `name` as the shell would find it on PATH, or nothing.
std::optional<std::filesystem::path> FindProgram(const std::string& name);

// The whole content of a text file, or "" when it cannot be read.
std::string ReadText(const std::filesystem::path& path);

struct ChildLaunch {
    std::vector<std::string> argv = {};    // the program's path first
    std::filesystem::path workDir = {};    // empty: the test's own
    std::vector<std::string> setEnv = {};  // NAME=VALUE, over the test's environment
    std::filesystem::path out = {};        // standard output goes here; empty: the test's
    std::filesystem::path err = {};        // standard error goes here; empty: the test's
};

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();  // stops a child still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Its standard input is a pipe that stays open until the child is
    // stopped (a program reading commands there would end on its close).
    bool Start(const ChildLaunch& launch);
    pid_t Pid() const { return pid_; }
    bool Running();  // started and not ended yet
    // The wait status once the child has ended by itself, or nothing when
    // it still runs after `timeout`.
    std::optional<int> WaitExit(std::chrono::milliseconds timeout);
    // SIGTERM, then the wait status (SIGKILL after `timeout`).
    int Stop(std::chrono::milliseconds timeout = std::chrono::seconds(30));

private:
    int Kill();
    void Forget();  // the child has been waited for

    pid_t pid_ = -1;
    int input_ = -1;  // the write end of the child's standard input
};

}  // namespace cadenzo::test
