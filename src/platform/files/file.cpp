#include "platform/files/file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <span>

#include "platform/text/encoding.h"

namespace {

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
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail("Cannot open the file");
    const bool read = ReadAll(fd, m_contents);
    close(fd);
    if (!read) Fail("Cannot read the file");
    return;
  }
  auto replacement = xls::FileReplacement::Begin(path);
  if (!replacement) throw CFileException(FromUtf8(replacement.error().text), replacement.error().kind);
  m_replacement = std::make_unique<xls::FileReplacement>(std::move(*replacement));
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
  if (!m_replacement) {
    errno = EBADF;
    Fail("Cannot write the file");
  }
  const auto written = m_replacement->Write(std::span<const uint8_t>(static_cast<const uint8_t*>(buffer), count));
  if (!written) throw CFileException(FromUtf8(written.error().text));
}

void CFile::Close() {
  if (!m_replacement) return;
  const auto committed = m_replacement->Commit();
  m_replacement.reset();
  if (!committed) throw CFileException(FromUtf8(committed.error().text));
}

void CFile::Abort() { m_replacement.reset(); }
