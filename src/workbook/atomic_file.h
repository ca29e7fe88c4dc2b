// Whole-file reads, and writes that replace a file only once the new content
// is safely on disk: a temporary file in the same folder, fsync, rename.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "xls/result.h"

namespace xls {

// A missing file gives an error of kind NotFound.
Result<std::vector<uint8_t>> ReadWholeFile(const std::string& path);

// Keeps the file's permissions; a symbolic link is followed and its target
// replaced, so the link stays a link. On failure the old file is untouched.
// Refused, with the file left as it is, when the existing file is not a
// regular file, is read-only, or is open in another program (a lock file
// ".~lock.NAME#" beside it, or a lock held on it).
Status WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace xls
