#include "workbook/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace xls {

Status SpanSource::read(uint64_t offset, std::span<uint8_t> out) const {
  const uint64_t available = offset < m_bytes.size() ? m_bytes.size() - offset : 0;
  const size_t copied = static_cast<size_t>(std::min<uint64_t>(available, out.size()));
  if (copied > 0) std::memcpy(out.data(), m_bytes.data() + offset, copied);
  std::fill(out.begin() + static_cast<ptrdiff_t>(copied), out.end(), uint8_t{0});
  return Ok{};
}

namespace {

FileIdentity IdentityOf(const struct stat& info) {
  FileIdentity identity;
  identity.device = info.st_dev;
  identity.inode = info.st_ino;
  identity.size = info.st_size;
  identity.modified_seconds = info.st_mtim.tv_sec;
  identity.modified_nanoseconds = info.st_mtim.tv_nsec;
  identity.changed_seconds = info.st_ctim.tv_sec;
  identity.changed_nanoseconds = info.st_ctim.tv_nsec;
  return identity;
}

}  // namespace

Result<FileIdentity> IdentityAt(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return MakeError("The workbook file does not exist: " + path, ErrorKind::NotFound);
    return MakeError("Cannot read " + path + ": " + std::strerror(errno));
  }
  return IdentityOf(info);
}

Result<std::shared_ptr<FileSource>> FileSource::Open(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return MakeError("The workbook file does not exist: " + path, ErrorKind::NotFound);
    return MakeError("Cannot open " + path + ": " + std::strerror(errno));
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return MakeError("Not a regular file: " + path);
  }
  return std::shared_ptr<FileSource>(new FileSource(fd, path, IdentityOf(info)));
}

FileSource::~FileSource() { close(m_fd); }

Status FileSource::check_unchanged() const {
  struct stat info;
  if (fstat(m_fd, &info) != 0) return MakeError("Cannot read " + m_path + ": " + std::strerror(errno));
  if (!(IdentityOf(info) == m_identity))
    return MakeError("The workbook " + m_path + " was changed by another program while it was being read; try again",
                     ErrorKind::InUse);
  return Ok{};
}

Status FileSource::read(uint64_t offset, std::span<uint8_t> out) const {
  size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = pread(m_fd, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return MakeError("Cannot read " + m_path + ": " + std::strerror(errno));
    if (got == 0) break;  // the file is shorter: the rest reads as zeros
    done += static_cast<size_t>(got);
  }
  std::fill(out.begin() + static_cast<ptrdiff_t>(done), out.end(), uint8_t{0});
  return Ok{};
}

}  // namespace xls
