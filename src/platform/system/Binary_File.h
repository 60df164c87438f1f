// A file opened for reading bytes at 64-bit positions, with no buffer of its own: every read
// goes to the file as it is on the disk now, so a file cut short while it is open reads short
// instead of from a stale copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sys {

class Binary_File {
public:
    Binary_File() = default;
    ~Binary_File();
    Binary_File(const Binary_File&) = delete;
    Binary_File& operator=(const Binary_File&) = delete;

    // Opens a plain file for reading (closing the one open before). False when it cannot be
    // opened or is not a plain file; `error` (when given) names the file and the cause.
    bool Open(const std::string& path, std::string* error = nullptr);
    void Close();
    bool Is_Open() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

    // Size of the file now, in bytes; -1 when it is not open or cannot be asked.
    int64_t Size() const;

    // Reads up to `count` bytes at `position` into `data`; returns the bytes read (fewer at
    // the end of the file), or -1 on a read error or when the file is not open.
    int64_t Read_At(int64_t position, uint8_t* data, std::size_t count) const;

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace sys
