// Random access to the bytes of a workbook file, so that opening a workbook
// reads only the parts it needs: from memory, or from an open file.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "workbook/result.h"

namespace xls {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t size() const = 0;
  // Fills `out` from `offset`; bytes past the end read as zeros. Fails only
  // when the operating system cannot read.
  virtual Status read(uint64_t offset, std::span<uint8_t> out) const = 0;
  // Fails when the bytes may have changed since the source was opened, so
  // that parts read at different times never get mixed.
  virtual Status check_unchanged() const { return Ok{}; }
};

// Bytes held by the caller, which keeps them alive as long as the source.
class SpanSource : public ByteSource {
 public:
  explicit SpanSource(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
  uint64_t size() const override { return m_bytes.size(); }
  Status read(uint64_t offset, std::span<uint8_t> out) const override;

 private:
  std::span<const uint8_t> m_bytes;
};

// Bytes owned by the source.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
  uint64_t size() const override { return m_bytes.size(); }
  Status read(uint64_t offset, std::span<uint8_t> out) const override { return SpanSource(m_bytes).read(offset, out); }

 private:
  std::vector<uint8_t> m_bytes;
};

// What tells one state of a file from another: which file it is (device and
// inode), its size, and the times of its last change to the nanosecond. Any
// write or replacement of the file changes at least one of them.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  int64_t size = 0;
  int64_t modified_seconds = 0, modified_nanoseconds = 0;
  int64_t changed_seconds = 0, changed_nanoseconds = 0;

  bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path` now (following links); a missing file
// gives an error of kind NotFound.
Result<FileIdentity> IdentityAt(const std::string& path);

// A regular file opened for reading; the identity is that of the file
// actually opened, taken when it was opened.
class FileSource : public ByteSource {
 public:
  // `path` is UTF-8. A missing file gives an error of kind NotFound.
  static Result<std::shared_ptr<FileSource>> Open(const std::string& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  uint64_t size() const override { return static_cast<uint64_t>(m_identity.size); }
  Status read(uint64_t offset, std::span<uint8_t> out) const override;
  Status check_unchanged() const override;
  const FileIdentity& identity() const { return m_identity; }
  const std::string& path() const { return m_path; }

 private:
  FileSource(int fd, std::string path, FileIdentity identity)
      : m_fd(fd), m_path(std::move(path)), m_identity(identity) {}

  int m_fd;
  std::string m_path;
  FileIdentity m_identity;
};

}  // namespace xls
