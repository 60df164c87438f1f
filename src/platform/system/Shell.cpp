#include "platform/system/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace sys {

namespace {
bool (*Shell_Hook)(const std::string&) = nullptr;
}

void Set_Shell_Open_Hook(bool (*hook)(const std::string& path)) { Shell_Hook = hook; }

bool Shell_Open(const std::string& path) {
  if (Shell_Hook) return Shell_Hook(path);
  const QFileInfo file(QString::fromLocal8Bit(path.c_str()));
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

}  // namespace sys
