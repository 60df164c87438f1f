// Message catalogues (GNU gettext) and where the program file lives.
#pragma once

#include <string>

namespace sys {

// The full path of the running program file, and its folder.
std::string Program_File();
std::string Program_Folder();

// Binds the catalogue domains "default" and "cport" to `folder`, or, when it is empty, to
// the folder "locale" beside the program file. The translations are handed out as the
// catalogues hold them (byte strings). Returns the folder bound.
std::string Bind_Catalogues(const std::string& folder = "");

// The translation of `text` in `domain`; the text itself when the catalogue has none.
std::string Catalogue_Text(const char* domain, const std::string& text);

}  // namespace sys
