#include "platform/files/file.h"

#include "xls/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/text/encoding.h"

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A symbolic link is written through to its target, so the link stays.
// A dangling link is written through as well: its target is created.
std::string ResolveLink(const std::string& path) {
  const xls::Result<std::string> resolved = xls::ResolveLinks(path);
  return resolved ? *resolved : path;
}

// The new file keeps the old one's permissions, owner and group; a new file
// gets the usual permissions.
bool KeepAttributes(int fd, const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    const mode_t mask = umask(0);
    umask(mask);
    return fchmod(fd, 0666 & ~mask) == 0;
  }
  if (info.st_uid != geteuid() || info.st_gid != getegid())
    [[maybe_unused]] const int ignored = fchown(fd, info.st_uid, info.st_gid);  // only root may give a file away
  return fchmod(fd, info.st_mode & 07777) == 0;
}

// Without this a power cut after the rename can bring the old file back.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Only a regular file that the user may write is replaced; anything else
// named so (a device, a pipe, a folder, a read-only file) stays as it is.
const char* ReasonNotReplaceable(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return nullptr;
  if (!S_ISREG(info.st_mode)) return "Not a regular file:";
  // A file that nobody may write was made read-only on purpose; that holds
  // for an administrator too.
  if (access(path.c_str(), W_OK) != 0 || (info.st_mode & 0222) == 0) return "The file is read-only:";
  return nullptr;
}

bool ReadAll(int fd, std::vector<char>& contents) {
  char chunk[65536];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    contents.insert(contents.end(), chunk, chunk + got);
  }
}

}  // namespace

CFile::CFile(const char* fileName, unsigned flags) : m_strFileName(fileName) {
  const std::string path = ToUtf8(m_strFileName);
  m_bWriting = (flags & (modeWrite | modeCreate)) != 0;
  if (!m_bWriting) {
    m_fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) Fail("Cannot open the file");
    const bool read = ReadAll(m_fd, m_contents);
    close(m_fd);
    m_fd = -1;
    if (!read) Fail("Cannot read the file");
    return;
  }
  m_targetPath = ResolveLink(path);
  if (const char* reason = ReasonNotReplaceable(m_targetPath)) {
    errno = EPERM;
    throw CFileException(CString(reason) + " " + m_strFileName, xls::ErrorKind::ReadOnly);
  }
  std::string pattern = FolderOf(m_targetPath) + "/." + BaseNameOf(m_targetPath) + ".XXXXXX";
  m_fd = mkstemp(pattern.data());
  if (m_fd < 0) Fail("Cannot create a file in the folder of");
  m_tempPath = pattern;
}

CFile::~CFile() { Abort(); }

void CFile::Fail(const char* what) const {
  const int error = errno;
  throw CFileException(CString(what) + " " + m_strFileName + ": " + std::strerror(error), xls::KindOfSystemError(error));
}

unsigned CFile::Read(void* buffer, unsigned count) {
  const size_t left = m_contents.size() - m_readPos;
  const size_t n = count < left ? count : left;
  if (n == 0) return 0;
  std::memcpy(buffer, m_contents.data() + m_readPos, n);
  m_readPos += n;
  return static_cast<unsigned>(n);
}

void CFile::Write(const void* buffer, unsigned count) {
  if (m_fd < 0 || !m_bWriting) {
    errno = EBADF;
    Fail("Cannot write the file");
  }
  const char* data = static_cast<const char*>(buffer);
  while (count > 0) {
    const ssize_t written = write(m_fd, data, count);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) Fail("Cannot write the file");
    data += written;
    count -= static_cast<unsigned>(written);
  }
}

void CFile::Close() {
  if (!m_bWriting || m_fd < 0) return;
  const bool synced = KeepAttributes(m_fd, m_targetPath) && fsync(m_fd) == 0;
  const int error = errno;
  const bool closed = close(m_fd) == 0;
  m_fd = -1;
  if (!synced || !closed || rename(m_tempPath.c_str(), m_targetPath.c_str()) != 0) {
    if (!synced) errno = error;
    const int failure = errno;
    unlink(m_tempPath.c_str());
    m_tempPath.clear();
    errno = failure;
    Fail("Cannot write the file");
  }
  m_tempPath.clear();
  SyncFolder(FolderOf(m_targetPath));
}

void CFile::Abort() {
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
  if (!m_tempPath.empty()) unlink(m_tempPath.c_str());
  m_tempPath.clear();
}
