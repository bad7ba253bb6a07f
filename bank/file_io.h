// The file layer under the blend and options files: whole-record reads and
// writes that never leave a half-written file behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace cadenzo {

// Raised when a file that exists cannot be opened, or a file cannot be
// created; the message is the text shown to the user.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    static FileError CannotOpen(const std::string& path);
    static FileError CannotCreate(const std::string& path);
};

bool FileExists(const std::string& path);

// Reads up to `size` bytes from the start of an existing file into `dest`
// and returns how many arrived. Raises FileError::CannotOpen when the path
// cannot be opened for reading or is not a regular file.
size_t ReadFilePrefix(const std::string& path, uint8_t* dest, size_t size);

// Writes `size` bytes as the whole new content of `path`. The bytes go to a
// temporary file in the same folder that then replaces the target, so the
// target is either the old file or the complete new one; a symbolic link
// is written through and stays a link. Raises FileError::CannotCreate, and
// leaves the target alone, when the file cannot be made or is write-protected;
// returns false when fewer bytes could be written (the target is then left
// as it was).
bool ReplaceFileContent(const std::string& path, const uint8_t* data, size_t size);

}  // namespace cadenzo
