#include "bank/file_io.h"

#include <cerrno>
#include <cstdio>
#include <optional>
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

// The file a path finally names, following symbolic links (a dangling one
// names the file it would create), so that a link is written through and
// stays a link. Nothing for a loop of links (or a chain too long to end),
// which no write may replace.
std::optional<std::string> FollowLinks(std::string path) {
    constexpr int kMaxLinks = 40;
    for (int i = 0; i < kMaxLinks; ++i) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096), '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0) return path;
        target.resize(static_cast<size_t>(n));
        path = target.front() == '/' || path.find('/') == std::string::npos ? target : DirectoryOf(path) + target;
    }
    return std::nullopt;
}

// A file the user marked as not to be written: this process may not write
// it, or no one may (its write bits are all clear, which a process with
// every privilege would otherwise ignore).
bool WriteProtected(const std::string& path, const struct stat& st) {
    return ::access(path.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0;
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
    if (path.empty() || path.back() == '/') throw FileError::CannotCreate(path);
    const std::optional<std::string> followed = FollowLinks(path);
    if (!followed) throw FileError::CannotCreate(path);
    const std::string& target = *followed;
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || WriteProtected(target, st))) throw FileError::CannotCreate(path);
    std::string temp = DirectoryOf(target) + ".cadenzo-XXXXXX";
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0) throw FileError::CannotCreate(path);
    // Keep the permissions of the file being replaced, or the usual ones of a new file.
    mode_t mode = 0666;
    if (exists) {
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
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw FileError::CannotCreate(path);
    }
    return true;
}

}  // namespace cadenzo
