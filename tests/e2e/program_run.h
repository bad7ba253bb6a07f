// The whole program as a player runs it: started in a folder of its own
// with its settings, bank and ports files, and stopped as the system stops
// it. One run at a time.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include <sys/types.h>

#include "bank/mix_records.h"
#include "bank/options_record.h"

namespace cadenzo::test {

class ProgramRun {
public:
    ProgramRun();   // makes the folder
    ~ProgramRun();  // ends a program still running, removes the folder
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    const std::filesystem::path& Dir() const { return dir_; }
    void WriteOptions(const OptionsRecord& options);
    void WriteBank(const MixBank& bank);
    void WriteText(const std::string& file, const std::string& text);

    void Start();
    // The program has not ended.
    bool Running();
    // SIGTERM; then whether it ended by itself with exit code 0.
    bool StopsCleanly();

private:
    std::filesystem::path dir_;
    pid_t pid_ = -1;   // while it runs or has not been reaped
    int status_ = -1;  // its wait status, once it has been reaped
};

// Options at their defaults: nothing opens by number.
OptionsRecord DefaultOptions();

// Polls `condition` until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(15000));

}  // namespace cadenzo::test
