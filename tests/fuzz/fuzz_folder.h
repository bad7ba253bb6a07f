// The program's files live in its current folder: the file targets work in
// a fresh folder of their own and write the fuzzer's bytes there as the file
// the program reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace cadenzo::fuzz {

// While it lives, the current folder is this process's fuzz folder: a new
// one under TMPDIR, else in memory (/dev/shm, where replacing a file costs no
// disk flush), else /tmp, removed at exit. Afterwards the folder the process
// started in is current again, so that libFuzzer's relative paths hold.
class InFuzzFolder {
public:
    InFuzzFolder() : back_(::open(".", O_RDONLY | O_DIRECTORY)) {
        if (back_ < 0 || ::chdir(Folder().c_str()) != 0) {
            std::perror("cannot enter the fuzz folder");
            std::abort();
        }
    }
    ~InFuzzFolder() {
        if (::fchdir(back_) != 0) std::abort();
        ::close(back_);
    }
    InFuzzFolder(const InFuzzFolder&) = delete;
    InFuzzFolder& operator=(const InFuzzFolder&) = delete;

private:
    static const std::string& Folder() {
        static const std::string* const folder = [] {
            const char* tmp = std::getenv("TMPDIR");
            const std::string base = tmp != nullptr ? tmp : ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
            std::string made = base + "/cadenzo-fuzz-XXXXXX";
            if (::mkdtemp(made.data()) == nullptr) {
                std::perror("cannot make the fuzz folder");
                std::abort();
            }
            std::atexit([] {
                std::error_code ignored;
                std::filesystem::remove_all(Folder(), ignored);
            });
            return new std::string(made);  // kept for the removal at exit
        }();
        return *folder;
    }

    int back_;
};

inline void WriteWholeFile(const char* name, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(name, "wb");
    if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::perror(name);
        std::abort();
    }
}

// Stops the run as a finding: libFuzzer keeps the input that caused it.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "FUZZ INVARIANT BROKEN: %s\n", what);
    std::abort();
}

inline void Require(bool holds, const char* what) {
    if (!holds) Fail(what);
}

}  // namespace cadenzo::fuzz
