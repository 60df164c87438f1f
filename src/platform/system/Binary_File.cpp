#include "platform/system/Binary_File.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

static_assert(sizeof(off_t) == 8, "file positions are 64-bit");

Binary_File::~Binary_File()
{
    Close();
}

bool Binary_File::Open(const std::string& path, std::string* error)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = "Cannot open \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error)
            *error = "\"" + path + "\" is not a plain file";
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    return true;
}

void Binary_File::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    path_.clear();
}

int64_t Binary_File::Size() const
{
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_size);
}

int64_t Binary_File::Read_At(int64_t position, uint8_t* data, std::size_t count) const
{
    if (fd_ < 0 || position < 0)
        return -1;
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_, data + done, count - done, static_cast<off_t>(position) +
                                                                       static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;   // end of the file
        done += static_cast<std::size_t>(n);
    }
    return static_cast<int64_t>(done);
}

}  // namespace sys
