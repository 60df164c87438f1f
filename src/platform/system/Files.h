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
