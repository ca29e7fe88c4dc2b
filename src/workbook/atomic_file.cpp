#include "workbook/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace xls {

ErrorKind KindOfSystemError(int error) {
  switch (error) {
    case EACCES:
    case EPERM: return ErrorKind::AccessDenied;
    case ENOSPC:
    case EDQUOT: return ErrorKind::DiskFull;
    case EROFS: return ErrorKind::ReadOnly;
    case ENOENT: return ErrorKind::NotFound;
    case EISDIR: return ErrorKind::IsFolder;
    default: return ErrorKind::Failed;
  }
}

namespace {

constexpr int kMaxLinkDepth = 40;

Error SystemError(const std::string& what, const std::string& path, int error = errno) {
  return MakeError(what + " " + path + ": " + std::strerror(error), KindOfSystemError(error));
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Another program holds a lock on the file (a record lock or a whole-file lock).
bool LockedByOthers(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  bool locked = fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
  if (!locked) {
    locked = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (!locked) flock(fd, LOCK_UN);
  }
  close(fd);
  return locked;
}

// An existing file is replaced only when the user may write it and no other
// program has it open for changes: the office programs leave a lock file
// ".~lock.NAME#" beside a workbook they have open, or lock the file itself.
Status CheckReplaceable(const std::string& path, const struct stat& existing) {
  if (!S_ISREG(existing.st_mode)) return MakeError("Not a regular file: " + path, ErrorKind::NotRegularFile);
  if (access(path.c_str(), W_OK) != 0 || (existing.st_mode & 0222) == 0)
    return MakeError("The file is read-only: " + path, ErrorKind::ReadOnly);
  struct stat lock_file;
  if (lstat((FolderOf(path) + "/.~lock." + BaseNameOf(path) + "#").c_str(), &lock_file) == 0)
    return MakeError("The file is open in another program (it has a lock file beside it): " + path, ErrorKind::InUse);
  if (LockedByOthers(path))
    return MakeError("The file is open in another program (it is locked): " + path, ErrorKind::InUse);
  return Ok{};
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The new file keeps the replaced one's permissions, owner and group; a new
// file gets the usual permissions.
Status KeepAttributes(int fd, const std::string& target, const std::string& temporary) {
  struct stat existing;
  const bool exists = stat(target.c_str(), &existing) == 0;
  if (fchmod(fd, exists ? (existing.st_mode & 07777) : NewFileMode()) != 0)
    return SystemError("Cannot set the permissions of", temporary);
  if (exists && (existing.st_uid != geteuid() || existing.st_gid != getegid()))
    [[maybe_unused]] const int ignored = fchown(fd, existing.st_uid, existing.st_gid);  // only root may give a file away
  return Ok{};
}

Status WriteAll(int fd, std::span<const uint8_t> bytes, const std::string& path) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return SystemError("Cannot write", path);
    done += static_cast<size_t>(written);
  }
  return Ok{};
}

// Without this a power cut after the rename can bring the old file back.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

// The file a path finally names, following symbolic links (also dangling ones).
Result<std::string> ResolveLinks(std::string path) {
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
    if (length < 0) return SystemError("Cannot follow the link", path);
    std::string next(target, static_cast<size_t>(length));
    path = next.starts_with('/') ? next : FolderOf(path) + "/" + next;
  }
  return MakeError("Too many symbolic links: " + path);
}


Result<std::vector<uint8_t>> ReadWholeFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return MakeError("The workbook file does not exist: " + path, ErrorKind::NotFound);
    return SystemError("Cannot open", path);
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return MakeError("Not a regular file: " + path, ErrorKind::NotRegularFile);
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(info.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      close(fd);
      return SystemError("Cannot read", path, error);
    }
    if (got == 0) break;  // the file shrank meanwhile
    done += static_cast<size_t>(got);
  }
  close(fd);
  bytes.resize(done);
  return bytes;
}

Result<FileReplacement> FileReplacement::Begin(const std::string& path) {
  auto target = ResolveLinks(path);
  if (!target) return target.error();
  struct stat existing;
  if (stat(target->c_str(), &existing) == 0)
    if (auto replaceable = CheckReplaceable(*target, existing); !replaceable) return replaceable.error();
  // Hidden, so that nobody takes the half-written file for the real one.
  std::string temporary = FolderOf(*target) + "/." + BaseNameOf(*target) + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return SystemError("Cannot create a file next to", *target);
  return FileReplacement(std::move(*target), std::move(temporary), fd);
}

FileReplacement::FileReplacement(std::string target, std::string temporary, int fd)
    : m_target(std::move(target)), m_temporary(std::move(temporary)), m_fd(fd) {}

FileReplacement::~FileReplacement() { Abandon(); }

FileReplacement::FileReplacement(FileReplacement&& other) noexcept
    : m_target(std::move(other.m_target)), m_temporary(std::move(other.m_temporary)), m_fd(other.m_fd) {
  other.m_temporary.clear();
  other.m_fd = -1;
}

FileReplacement& FileReplacement::operator=(FileReplacement&& other) noexcept {
  if (this != &other) {
    Abandon();
    m_target = std::move(other.m_target);
    m_temporary = std::move(other.m_temporary);
    m_fd = other.m_fd;
    other.m_temporary.clear();
    other.m_fd = -1;
  }
  return *this;
}

void FileReplacement::Abandon() {
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
  if (!m_temporary.empty()) unlink(m_temporary.c_str());
  m_temporary.clear();
}

Status FileReplacement::Write(std::span<const uint8_t> bytes) {
  if (m_fd < 0) return MakeError("Cannot write " + m_target + ": the file is no longer open");
  return WriteAll(m_fd, bytes, m_temporary);
}

Status FileReplacement::Commit() {
  if (m_fd < 0) return MakeError("Cannot write " + m_target + ": the file is no longer open");
  auto fail = [&](Error error) -> Status {
    Abandon();
    return error;
  };
  if (auto kept = KeepAttributes(m_fd, m_target, m_temporary); !kept) return fail(kept.error());
  if (fsync(m_fd) != 0) return fail(SystemError("Cannot write", m_temporary));
  const int fd = m_fd;
  m_fd = -1;
  if (close(fd) != 0) return fail(SystemError("Cannot write", m_temporary));
  if (rename(m_temporary.c_str(), m_target.c_str()) != 0) return fail(SystemError("Cannot replace", m_target));
  m_temporary.clear();
  SyncFolder(FolderOf(m_target));
  return Ok{};
}

Status WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
  auto replacement = FileReplacement::Begin(path);
  if (!replacement) return replacement.error();
  if (auto written = replacement->Write(bytes); !written) return written;
  return replacement->Commit();
}

}  // namespace xls
