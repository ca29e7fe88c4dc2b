#include "platform/files/file.h"

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
std::string ResolveLink(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// The new file keeps the old one's permissions; a new file gets the usual ones.
mode_t ModeFor(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
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
  std::string pattern = FolderOf(m_targetPath) + "/." + BaseNameOf(m_targetPath) + ".XXXXXX";
  m_fd = mkstemp(pattern.data());
  if (m_fd < 0) Fail("Cannot create a file in the folder of");
  m_tempPath = pattern;
}

CFile::~CFile() { Abort(); }

void CFile::Fail(const char* what) const {
  const int error = errno;
  throw CFileException(CString(what) + " " + m_strFileName + ": " + std::strerror(error));
}

unsigned CFile::Read(void* buffer, unsigned count) {
  const size_t left = m_contents.size() - m_readPos;
  const size_t n = count < left ? count : left;
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
  const bool synced = fchmod(m_fd, ModeFor(m_targetPath)) == 0 && fsync(m_fd) == 0;
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
}

void CFile::Abort() {
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
  if (!m_tempPath.empty()) unlink(m_tempPath.c_str());
  m_tempPath.clear();
}
