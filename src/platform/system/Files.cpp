#include "platform/system/Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

Write_Call Write_Hook;

std::string Folder_Of(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

void Set_Error(std::string* error, const std::string& what, const std::string& path, int code) {
  if (error) *error = what + " \"" + path + "\": " + std::strerror(code);
}

ssize_t Write_Some(int fd, const char* data, size_t count) {
  if (Write_Hook) return Write_Hook(fd, data, count);
  return ::write(fd, data, count);
}

}  // namespace

void Set_Write_Hook(Write_Call hook) { Write_Hook = std::move(hook); }
void Reset_File_Hooks() { Write_Hook = nullptr; }

bool Write_Whole_File(const std::string& path, const std::string& bytes, std::string* error) {
  if (path.empty()) {
    if (error) *error = "Cannot write a file without a name";
    return false;
  }
  // A target that is a folder (or anything but a plain file) is never replaced.
  struct stat target {};
  const bool target_exists = ::stat(path.c_str(), &target) == 0;
  if (target_exists && !S_ISREG(target.st_mode)) {
    Set_Error(error, "Cannot write", path, S_ISDIR(target.st_mode) ? EISDIR : EINVAL);
    return false;
  }

  const std::string folder = Folder_Of(path);
  const std::string base = path.substr(path.find_last_of('/') == std::string::npos
                                           ? 0 : path.find_last_of('/') + 1);
  std::string temp = (folder == "/" ? std::string("/") : folder + "/") + "." + base + ".XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    Set_Error(error, "Cannot create a temporary file for", path, errno);
    return false;
  }
  temp.assign(name.data());

  auto fail = [&](const char* what, int code) {
    ::close(fd);
    ::unlink(temp.c_str());
    Set_Error(error, what, path, code);
    return false;
  };

  // Keep the permissions of the file being replaced; a new file gets the usual 0666 & ~umask.
  mode_t mode;
  if (target_exists) {
    mode = target.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd, mode) != 0) return fail("Cannot set the permissions of", errno);

  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = Write_Some(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("Cannot write", errno);
    }
    if (n == 0) return fail("Cannot write", ENOSPC);
    data += n;
    left -= static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) return fail("Cannot flush", errno);
  if (::close(fd) != 0) {
    const int code = errno;
    ::unlink(temp.c_str());
    Set_Error(error, "Cannot close", path, code);
    return false;
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int code = errno;
    ::unlink(temp.c_str());
    Set_Error(error, "Cannot replace", path, code);
    return false;
  }
  // Make the rename itself durable; a failure here no longer endangers the content.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  if (error) error->clear();
  return true;
}

}  // namespace sys
