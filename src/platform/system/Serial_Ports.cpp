#include "platform/system/Serial_Ports.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace sys {

Serial_Port_State Serial_Ports;

void Reset_Serial_Ports() { Serial_Ports = Serial_Port_State{}; }

void Set_Configured_Port(const std::string& name) { Serial_Ports.Configured_Port = name; }

void Set_Kept_Port(const std::string& name) { Serial_Ports.Kept_Port = name; }

namespace {

std::string Read_First_Line(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  if (in) std::getline(in, line);
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
  return line;
}

std::string Link_Base_Name(const std::string& path) {
  char buffer[4096];
  const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  std::string target(buffer, static_cast<std::size_t>(n));
  const auto slash = target.find_last_of('/');
  return slash == std::string::npos ? target : target.substr(slash + 1);
}

// A terminal device entry backed by hardware (or a USB adapter) and not a phantom UART.
bool Is_Serial_Device(const std::string& entry_dir) {
  struct stat info {};
  // Virtual consoles, pseudo-terminals and the like have no device behind them.
  if (::stat((entry_dir + "/device").c_str(), &info) != 0) return false;
  // UART drivers register every port they might have; a port whose hardware was not found
  // reports the port type 0 (unknown). Other serial drivers have no port type.
  const std::string type = Read_First_Line(entry_dir + "/type");
  if (type == "0") return false;
  if (type.empty() && Link_Base_Name(entry_dir + "/device/driver") == "serial8250") return false;
  return true;
}

// Pseudo-terminal slaves use the majors 136..143; every other terminal device is a member
// of the kernel's tty subsystem. Nothing is opened: opening a real serial port would raise
// its modem lines and may reset the device behind it.
bool Is_Terminal_Path(const std::string& path) {
  if (path.empty() || path[0] != '/') return false;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) return false;
  const unsigned major_number = major(info.st_rdev);
  if (major_number >= 136 && major_number <= 143) return true;
  const std::string node = "/sys/dev/char/" + std::to_string(major_number) + ":" +
                           std::to_string(minor(info.st_rdev));
  return Link_Base_Name(node + "/subsystem") == "tty";
}

// Compares names with runs of digits by their value, otherwise byte by byte.
bool Natural_Less(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const bool da = std::isdigit(static_cast<unsigned char>(a[i]));
    const bool db = std::isdigit(static_cast<unsigned char>(b[j]));
    if (da && db) {
      std::size_t ei = i, ej = j;
      while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) ++ei;
      while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) ++ej;
      // Strip leading zeros, then the longer run is the larger number.
      std::size_t si = i, sj = j;
      while (si + 1 < ei && a[si] == '0') ++si;
      while (sj + 1 < ej && b[sj] == '0') ++sj;
      if (ei - si != ej - sj) return ei - si < ej - sj;
      const int c = a.compare(si, ei - si, b, sj, ej - sj);
      if (c != 0) return c < 0;
      if (ei - i != ej - j) return ei - i < ej - j;
      i = ei;
      j = ej;
    } else {
      if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
      ++i;
      ++j;
    }
  }
  return a.size() - i < b.size() - j;
}

// Scans the device table. Returns false with an errno value when it cannot be read.
bool Scan(std::vector<std::string>& names, int& error_code) {
  names.clear();
  error_code = 0;
  DIR* dir = ::opendir(Serial_Ports.Class_Dir.c_str());
  if (!dir) {
    if (errno == ENOENT || errno == ENOTDIR) return true;  // no table: no ports
    error_code = errno;
    return false;
  }
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!Is_Serial_Device(Serial_Ports.Class_Dir + "/" + name)) continue;
    // The kernel writes a '/' of a device name in a sub-folder of /dev as '!'.
    std::string port = name;
    std::replace(port.begin(), port.end(), '!', '/');
    // Only devices that can be reached through their device file are usable ports.
    struct stat info {};
    if (::stat((Serial_Ports.Device_Dir + "/" + port).c_str(), &info) != 0 ||
        !S_ISCHR(info.st_mode))
      continue;
    names.push_back(port);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end(), Natural_Less);
  for (const std::string* configured : {&Serial_Ports.Configured_Port, &Serial_Ports.Kept_Port})
    if (Is_Terminal_Path(*configured) &&
        std::find(names.begin(), names.end(), *configured) == names.end())
      names.push_back(*configured);
  return true;
}

}  // namespace

Serial_Port_Map::Serial_Port_Map() {
  int code = 0;
  Opened_ = Scan(Names_, code);
}

bool Serial_Port_Map::Value(std::size_t index, std::string& name) const {
  if (index >= Names_.size()) return false;
  name = Names_[index];
  return true;
}

bool Serial_Port_Listed(const std::string& name) {
  if (name.empty()) return false;
  const Serial_Port_Map map;
  const auto& names = map.Names();
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool Serial_Ports_Sorted(std::vector<std::string>& names, int* error_code) {
  int code = 0;
  if (!Scan(names, code)) {
    if (error_code) *error_code = code;
    return false;
  }
  std::sort(names.begin(), names.end(), Natural_Less);
  if (error_code) *error_code = 0;
  return true;
}

}  // namespace sys
