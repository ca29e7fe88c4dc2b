// Whole-file reads, and the one way this program replaces a file: the new
// content goes into a temporary file in the same folder, is synced, and is
// renamed over the old file only once complete; then the folder is synced.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "workbook/result.h"

namespace xls {

// A missing file gives an error of kind NotFound.
Result<std::vector<uint8_t>> ReadWholeFile(const std::string& path);

// One file being replaced. Begin refuses, with the file left as it is, an
// existing file that is not a regular file, is read-only, or is open in
// another program (a lock file ".~lock.NAME#" beside it, or a lock held on
// it). A symbolic link is followed, also when it dangles, and its target
// written, so the link stays a link. Commit keeps the replaced file's mode,
// owner and group; a replacement that is never committed leaves the old
// file untouched and no temporary file behind.
class FileReplacement {
 public:
  // `path` is in the operating system's encoding (UTF-8).
  static Result<FileReplacement> Begin(const std::string& path);
  ~FileReplacement();
  FileReplacement(FileReplacement&& other) noexcept;
  FileReplacement& operator=(FileReplacement&& other) noexcept;
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  Status Write(std::span<const uint8_t> bytes);
  Status Commit();
  // Drops what was written; the old file stays.
  void Abandon();

 private:
  FileReplacement(std::string target, std::string temporary, int fd);

  std::string m_target;  // links resolved
  std::string m_temporary;
  int m_fd = -1;
};

// Begin, Write and Commit in one.
Status WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace xls
