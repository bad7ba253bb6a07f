#include "bank/file_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cadenzo {

FileError FileError::CannotOpen(const std::string& path) {
    return FileError("Cannot open file " + path);
}

FileError FileError::CannotCreate(const std::string& path) {
    return FileError("Cannot create file " + path);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

namespace {

// A descriptor that is closed on every way out.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string DirectoryOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

}  // namespace

size_t ReadFilePrefix(const std::string& path, uint8_t* dest, size_t size) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        throw FileError::CannotOpen(path);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd.get(), dest + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

bool ReplaceFileContent(const std::string& path, const uint8_t* data, size_t size) {
    struct stat st {};
    if (path.empty() || path.back() == '/' || (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)))
        throw FileError::CannotCreate(path);
    std::string temp = DirectoryOf(path) + ".cadenzo-XXXXXX";
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0) throw FileError::CannotCreate(path);
    // Keep the permissions of the file being replaced, or the usual ones of a new file.
    mode_t mode = 0666;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    bool written = ::fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), data, size) &&
                   ::fsync(fd.get()) == 0;
    written = fd.close() && written;
    if (!written) {
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw FileError::CannotCreate(path);
    }
    return true;
}

}  // namespace cadenzo
