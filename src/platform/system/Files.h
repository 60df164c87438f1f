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
// The temporary file is named "." + the file's name + "." + six letters or digits +
// ".kgd-tmp" (the name cut to fit when it is long). A write killed before its rename leaves
// it behind; the next whole-file write into the same folder removes such files of any target
// (and those of its own target named without ".kgd-tmp", as earlier versions named them):
// plain files only, no other file.
bool Write_Whole_File(const std::string& path, const std::string& bytes,
                      std::string* error = nullptr);

// How a whole-file read ended: a file that is there but cannot be read (no permission, an
// input error, a folder) is told apart from one that is missing, so that no caller takes an
// unreadable file for an empty one and writes over it.
enum class Read_Result { Read, Missing, Unreadable };

// Reads the whole of `path` into `bytes` (cleared first). On Missing or Unreadable `bytes` is
// empty and `error` (when given) names the file and the cause. A name too long for the file
// system is Missing: no file can be there.
Read_Result Read_Whole_File(const std::string& path, std::string& bytes,
                            std::string* error = nullptr);

// Test hooks: when set, they replace the write(2) calls of Write_Whole_File and the read(2)
// calls of Read_Whole_File (same contracts as write and read). Empty by default;
// Reset_File_Hooks clears both.
using Write_Call = std::function<ssize_t(int fd, const void* data, size_t count)>;
using Read_Call = std::function<ssize_t(int fd, void* data, size_t count)>;
void Set_Write_Hook(Write_Call hook);
void Set_Read_Hook(Read_Call hook);
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

// ---- files of records that grow at their end (positions and sizes are 64-bit) ----

// Size of the plain file at `path` in bytes; -1 when there is none or it cannot be asked.
long long File_Size(const std::string& path);

// Removes a plain file; true when it is gone afterwards (also when there was none).
bool Delete_File(const std::string& path, std::string* error = nullptr);

// What Append_To_File did.
enum class Append_Result { Written, Refused, Failed };

// Appends `bytes` at the end of `path`. The file is created when it does not exist and is
// never truncated. `accept` (when given) is asked with the file's size in bytes before
// anything is written; when it answers false nothing is written (Refused). A failed or
// short write cuts the file back to the size it had, so it keeps exactly what it held
// (Failed); `error` (when given) then names the file and the cause. The write goes
// through the write hook above.
Append_Result Append_To_File(const std::string& path, const std::string& bytes,
                             const std::function<bool(long long size)>& accept,
                             std::string* error = nullptr);

// Reads up to `count` bytes of `path` from byte `position` on into `bytes` (fewer at the
// end of the file, none beyond it). False when the file cannot be opened or read; `error`
// (when given) names the file and the cause.
bool Read_File_At(const std::string& path, long long position, std::size_t count,
                  std::string& bytes, std::string* error = nullptr);

}  // namespace sys
