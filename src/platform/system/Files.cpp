#include "platform/system/Files.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace sys {

namespace {

Write_Call Write_Hook;
Read_Call Read_Hook;

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

ssize_t Read_Some(int fd, char* data, size_t count) {
  if (Read_Hook) return Read_Hook(fd, data, count);
  return ::read(fd, data, count);
}

}  // namespace

void Set_Write_Hook(Write_Call hook) { Write_Hook = std::move(hook); }
void Set_Read_Hook(Read_Call hook) { Read_Hook = std::move(hook); }
void Reset_File_Hooks() {
  Write_Hook = nullptr;
  Read_Hook = nullptr;
}

Read_Result Read_Whole_File(const std::string& path, std::string& bytes, std::string* error) {
  bytes.clear();
  if (path.empty()) {
    if (error) *error = "File not found \"\"";
    return Read_Result::Missing;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int code = errno;
    if (code == ENOENT || code == ENOTDIR) {
      if (error) *error = "File not found \"" + path + "\"";
      return Read_Result::Missing;
    }
    // No file can have a name that long: it is missing, and the text says why.
    if (code == ENAMETOOLONG) {
      Set_Error(error, "File not found", path, code);
      return Read_Result::Missing;
    }
    Set_Error(error, "Cannot read", path, code);
    return Read_Result::Unreadable;
  }
  auto fail = [&](int code) {
    ::close(fd);
    bytes.clear();
    Set_Error(error, "Cannot read", path, code);
    return Read_Result::Unreadable;
  };
  struct stat info {};
  if (::fstat(fd, &info) != 0) return fail(errno);
  if (S_ISDIR(info.st_mode)) return fail(EISDIR);
  char buffer[65536];
  for (;;) {
    const ssize_t n = Read_Some(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  if (error) error->clear();
  return Read_Result::Read;
}

namespace {

// Longest name a folder entry can have (the common limit of Linux file systems).
constexpr std::size_t Name_Max = 255;
// mkostemps' six characters, taken from letters and digits.
constexpr std::size_t Temp_Random_Length = 6;
// The end of every temporary name: it tells this layer's files apart from a user's hidden
// file that happens to look like "." + name + "." + six letters, so that the files a killed
// write left can be removed whatever file it was writing.
constexpr const char Temp_Mark[] = ".kgd-tmp";
constexpr std::size_t Temp_Mark_Length = sizeof Temp_Mark - 1;

bool Temp_Random_Char(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// The name of the temporary file of `base` up to its six characters: "." + base + ".", the
// base cut so that the whole name stays a valid name for a base that is one.
std::string Temp_Prefix(const std::string& base) {
  const std::size_t room = Name_Max - Temp_Random_Length - Temp_Mark_Length - 2;
  return "." + base.substr(0, std::min(base.size(), room)) + ".";
}

// Six letters or digits at `at` of `name`, and nothing after them but `end`.
bool Random_Then(const std::string& name, std::size_t at, const std::string& end) {
  if (name.size() != at + Temp_Random_Length + end.size()) return false;
  const auto first = name.begin() + static_cast<long>(at);
  return std::all_of(first, first + static_cast<long>(Temp_Random_Length), Temp_Random_Char) &&
         name.compare(at + Temp_Random_Length, end.size(), end) == 0;
}

// A temporary name of this layer: "." + a name + "." + six characters + the mark, whatever
// the name; or one of `base` written before the mark was added ("." + base + "." + six).
bool Is_Temp_Leftover_Name(const std::string& name, const std::string& base) {
  const std::string old_prefix = Temp_Prefix(base);
  if (name.compare(0, old_prefix.size(), old_prefix) == 0 && Random_Then(name, old_prefix.size(), ""))
    return true;
  const std::size_t tail = Temp_Random_Length + Temp_Mark_Length;
  // At least one character of a name between the two dots.
  if (name.size() < tail + 3 || name[0] != '.') return false;
  const std::size_t at = name.size() - tail;
  return name[at - 1] == '.' && Random_Then(name, at, Temp_Mark);
}

// Removes what writes killed before their rename left in `folder` (the temporary files of
// any target, and those of `base` named as before the mark): plain files named as this layer
// names them, nothing else. Writes run one at a time on the user-interface thread, so none
// of these is a write still under way.
void Remove_Temp_Leftovers(const std::string& folder, const std::string& base) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!Is_Temp_Leftover_Name(name, base)) continue;
    const std::string path = (folder == "/" ? std::string("/") : folder + "/") + name;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) ::unlink(path.c_str());
  }
  ::closedir(dir);
}

// Writes `path` through a temporary file in its folder: `fill` writes the content to the
// descriptor (returning 0 or an errno value); then the file is flushed, closed and renamed
// over the target. Any failure removes the temporary file and keeps the target as it was.
// The temporary files earlier writes into the same folder left (killed before their rename)
// are removed first.
bool Replace_File(const std::string& given_path, mode_t new_mode,
                  const std::function<int(int)>& fill, std::string* error) {
  if (given_path.empty()) {
    if (error) *error = "Cannot write a file without a name";
    return false;
  }
  // A link is kept: the file it points to is the one replaced.
  std::string path = given_path;
  struct stat link {};
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      path = real;
      std::free(real);
    }
  }
  // A target that is a folder (or anything but a plain file) is never replaced.
  struct stat target {};
  const bool target_exists = ::stat(path.c_str(), &target) == 0;
  if (target_exists && !S_ISREG(target.st_mode)) {
    Set_Error(error, "Cannot write", path, S_ISDIR(target.st_mode) ? EISDIR : EINVAL);
    return false;
  }

  const std::string folder = Folder_Of(path);
  const auto slash = path.find_last_of('/');
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.size() > Name_Max) {
    Set_Error(error, "Cannot write", path, ENAMETOOLONG);
    return false;
  }
  Remove_Temp_Leftovers(folder, base);
  std::string temp =
      (folder == "/" ? std::string("/") : folder + "/") + Temp_Prefix(base) + "XXXXXX" + Temp_Mark;
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = ::mkostemps(name.data(), static_cast<int>(Temp_Mark_Length), O_CLOEXEC);
  if (fd < 0) {
    const int code = errno;
    Set_Error(error, code == ENAMETOOLONG ? "Cannot write" : "Cannot create a temporary file for", path, code);
    return false;
  }
  temp.assign(name.data());

  auto fail = [&](const char* what, int code) {
    ::close(fd);
    ::unlink(temp.c_str());
    Set_Error(error, what, path, code);
    return false;
  };

  // A replaced file keeps its permissions; a new one gets `new_mode` less the umask.
  mode_t mode;
  if (target_exists) {
    mode = target.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = new_mode & ~mask;
  }
  if (::fchmod(fd, mode) != 0) return fail("Cannot set the permissions of", errno);
  if (const int code = fill(fd); code != 0) return fail("Cannot write", code);
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

// Writes all of `count` bytes; 0 or an errno value.
int Write_All(int fd, const char* data, size_t count) {
  while (count > 0) {
    const ssize_t n = Write_Some(fd, data, count);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return ENOSPC;
    data += n;
    count -= static_cast<size_t>(n);
  }
  return 0;
}

char Lower_Ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool Write_Whole_File(const std::string& path, const std::string& bytes, std::string* error) {
  return Replace_File(
      path, 0666, [&](int fd) { return Write_All(fd, bytes.data(), bytes.size()); }, error);
}

bool File_Exists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool File_Identity_Of(const std::string& path, File_Identity& identity) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return false;
  identity.Is_Folder = S_ISDIR(info.st_mode);
  identity.Device = info.st_dev;
  identity.Inode = info.st_ino;
  identity.Size = info.st_size;
  identity.Modified_Sec = info.st_mtim.tv_sec;
  identity.Modified_Nsec = info.st_mtim.tv_nsec;
  identity.Changed_Sec = info.st_ctim.tv_sec;
  identity.Changed_Nsec = info.st_ctim.tv_nsec;
  return true;
}

long long Clock_Seconds() {
  timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec;
}

bool Folder_Exists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Create_Folder(const std::string& path) {
  if (path.empty()) return false;
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  return errno == EEXIST && Folder_Exists(path);
}

bool Create_Folders(const std::string& path) {
  if (path.empty()) return false;
  if (Folder_Exists(path)) return true;
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  const auto slash = trimmed.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !Create_Folders(trimmed.substr(0, slash)))
    return false;
  return Create_Folder(trimmed);
}

bool Set_Folder_Hidden(const std::string& path, bool hidden) { return Folder_Exists(path); }

bool Copy_File(const std::string& from, const std::string& to, std::string* error) {
  const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) {
    Set_Error(error, "Cannot open", from, errno);
    return false;
  }
  struct stat info {};
  if (::fstat(source, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int code = errno ? errno : EINVAL;
    ::close(source);
    Set_Error(error, "Cannot copy", from, S_ISDIR(info.st_mode) ? EISDIR : code);
    return false;
  }
  const bool done = Replace_File(
      to, info.st_mode & 07777,
      [&](int fd) {
        char buffer[65536];
        for (;;) {
          const ssize_t n = ::read(source, buffer, sizeof buffer);
          if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
          }
          if (n == 0) return 0;
          if (const int code = Write_All(fd, buffer, static_cast<size_t>(n)); code != 0)
            return code;
        }
      },
      error);
  ::close(source);
  return done;
}

bool Wildcard_Match(const std::string& pattern, const std::string& name) {
  size_t p = 0, n = 0;
  size_t star = std::string::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || Lower_Ascii(pattern[p]) == Lower_Ascii(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> List_Files(const std::string& folder, const std::string& pattern,
                                    bool include_hidden) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!include_hidden && name[0] == '.') continue;
    if (!Wildcard_Match(pattern, name)) continue;
    if (!File_Exists((folder.empty() ? std::string(".") : folder) + "/" + name)) continue;
    names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

long long File_Size(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<long long>(info.st_size);
}

bool Delete_File(const std::string& path, std::string* error) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
  Set_Error(error, "Cannot delete", path, errno);
  return false;
}

Append_Result Append_To_File(const std::string& path, const std::string& bytes,
                             const std::function<bool(long long size)>& accept,
                             std::string* error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) {
    Set_Error(error, "Cannot open", path, errno);
    return Append_Result::Failed;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int code = S_ISREG(info.st_mode) ? errno : EINVAL;
    ::close(fd);
    Set_Error(error, "Cannot write", path, code);
    return Append_Result::Failed;
  }
  const off_t old_size = info.st_size;
  if (accept && !accept(static_cast<long long>(old_size))) {
    ::close(fd);
    return Append_Result::Refused;
  }
  const int code = Write_All(fd, bytes.data(), bytes.size());
  if (code != 0) {
    // Whatever part of the block reached the file goes again.
    while (::ftruncate(fd, old_size) != 0 && errno == EINTR) {
    }
    ::close(fd);
    Set_Error(error, "Cannot write", path, code);
    return Append_Result::Failed;
  }
  if (::close(fd) != 0) {
    Set_Error(error, "Cannot close", path, errno);
    return Append_Result::Failed;
  }
  return Append_Result::Written;
}

bool Read_File_At(const std::string& path, long long position, std::size_t count,
                  std::string& bytes, std::string* error) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    Set_Error(error, "Cannot open", path, errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const int code = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    Set_Error(error, "Cannot read", path, code);
    return false;
  }
  bytes.resize(count);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd, bytes.data() + done, count - done,
                              static_cast<off_t>(position) + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      const int code = errno;
      ::close(fd);
      bytes.clear();
      Set_Error(error, "Cannot read", path, code);
      return false;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  ::close(fd);
  return true;
}

}  // namespace sys
