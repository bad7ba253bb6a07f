#include "e2e/jack_server.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "e2e/program_run.h"

namespace cadenzo::test {

namespace {

using namespace std::chrono_literals;

std::string PidFile() {
    const char* path = std::getenv("CADENZO_JACKD_PIDFILE");
    return path ? path : "";
}

// Not reaped yet counts as gone: the process has ended.
bool Running(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const size_t end = line.rfind(')');
    return end != std::string::npos && end + 2 < line.size() && line[end + 2] != 'Z';
}

}  // namespace

bool StopJackServer() {
    pid_t pid = 0;
    std::ifstream(PidFile()) >> pid;
    if (pid <= 0 || ::kill(pid, SIGTERM) != 0) return false;
    return WaitUntil([&] { return !Running(pid); }, 10s);
}

bool StartJackServer() {
    const char* command = std::getenv("CADENZO_JACKD");
    if (command == nullptr) return false;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0);  // not stopped with the test's own process group
        const std::string line = std::string("exec ") + command + " >/dev/null 2>&1";
        ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (pid < 0) return false;
    std::ofstream(PidFile()) << pid << '\n';
    return true;
}

}  // namespace cadenzo::test
