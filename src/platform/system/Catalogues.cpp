#include "platform/system/Catalogues.h"

#include <libintl.h>
#include <unistd.h>

namespace sys {

std::string Program_File() {
  char buffer[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<std::size_t>(n));
}

std::string Program_Folder() {
  const std::string file = Program_File();
  const auto slash = file.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

std::string Bind_Catalogues(const std::string& folder) {
  const std::string where = folder.empty() ? Program_Folder() + "/locale" : folder;
  for (const char* domain : {"default", "cport"}) bindtextdomain(domain, where.c_str());
  return where;
}

std::string Catalogue_Text(const char* domain, const std::string& text) {
  if (text.empty()) return text;  // the empty message id names the catalogue header
  return dgettext(domain, text.c_str());
}

}  // namespace sys
