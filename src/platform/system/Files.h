// File services of the platform layer: whole-file writes that never leave a half-written
// file behind, existence tests, folders, copies and pattern listings.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sys {

// Writes `bytes` as the whole new content of `path`: the bytes go to a temporary file in the
// same folder, are flushed to the disk and the temporary file is renamed over the target.
// On any failure the old file stays as it was, the temporary file is removed and false is
// returned; `error` (when given) receives a readable text naming the file and the cause.
bool Write_Whole_File(const std::string& path, const std::string& bytes,
                      std::string* error = nullptr);

// Test hook: when set, it replaces the write(2) calls of Write_Whole_File (same contract as
// write). Empty by default; Reset_File_Hooks clears it.
using Write_Call = std::function<ssize_t(int fd, const void* data, size_t count)>;
void Set_Write_Hook(Write_Call hook);
void Reset_File_Hooks();

}  // namespace sys

namespace sys {

bool File_Exists(const std::string& path);    // a plain file (links followed)

// What identifies a file's content at a moment (links followed): the same device, inode,
// size and modification and change times mean the file was not replaced or written since.
struct File_Identity {
  bool Is_Folder = false;
  unsigned long long Device = 0, Inode = 0;
  long long Size = 0;
  long long Modified_Sec = 0, Modified_Nsec = 0;
  long long Changed_Sec = 0, Changed_Nsec = 0;
  bool operator==(const File_Identity&) const = default;
};
// False (identity untouched) when nothing can be found at `path`.
bool File_Identity_Of(const std::string& path, File_Identity& identity);
// Seconds of the real-time clock, the clock the file times are given in.
long long Clock_Seconds();
bool Folder_Exists(const std::string& path);  // a folder (links followed)

// Creates one folder; true when it exists as a folder afterwards.
bool Create_Folder(const std::string& path);
// Creates a folder and every missing folder above it; true when it exists afterwards.
bool Create_Folders(const std::string& path);

// Linux keeps no hidden attribute on folders: the request changes nothing and reports
// success for an existing folder.
bool Set_Folder_Hidden(const std::string& path, bool hidden);

// Copies `from` over `to`, replacing an existing copy. The new copy is complete or absent:
// it is written beside the target and renamed over it, so a failed copy keeps what was there.
bool Copy_File(const std::string& from, const std::string& to, std::string* error = nullptr);

// The names (without folder) of the plain files in `folder` whose names match `pattern`
// ('*' any run of characters, '?' one character, letter case ignored), in the order the
// file system returns them. Hidden entries (names starting with '.') only when asked for.
std::vector<std::string> List_Files(const std::string& folder, const std::string& pattern,
                                    bool include_hidden);

// True when `name` matches the wildcard `pattern` with letter case ignored.
bool Wildcard_Match(const std::string& pattern, const std::string& name);

}  // namespace sys
