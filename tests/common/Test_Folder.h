// A temporary folder that a test owns and that is removed with everything in it, and
// whole-file reads and writes of byte strings.
#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <string>

class Test_Folder {
 public:
  // Made under the system's temporary folder as "kardun-<name>-XXXXXX".
  explicit Test_Folder(const std::string& name = "system")
      : Dir_(QDir::tempPath() + "/kardun-" + QString::fromStdString(name) + "-XXXXXX") {}
  bool Made() const { return Dir_.isValid(); }
  std::string Path() const { return Dir_.path().toStdString(); }
  std::string operator/(const std::string& name) const { return Path() + "/" + name; }

 private:
  QTemporaryDir Dir_;
};

inline void Put_File(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string Read_File(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}
