// CFile: a file opened for reading (read whole at once, then served from
// memory) or for writing (through the workbook core's safe write: into a
// temporary file in the same folder that Close renames into place, so the
// file is never seen half-written).
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/text/cstring.h"
#include "workbook/result.h"
#include "workbook/atomic_file.h"

class CFileException : public std::exception {
 public:
  explicit CFileException(const CString& error, xls::ErrorKind kind = xls::ErrorKind::Failed)
      : m_strError(error), m_kind(kind) {}
  const char* what() const noexcept override { return m_strError.GetString(); }

  CString m_strError;
  xls::ErrorKind m_kind;
};

class CFile {
 public:
  enum OpenFlags : unsigned {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    shareDenyNone = 0x0040,
    modeCreate = 0x1000,
  };

  // Throws CFileException when the file cannot be read or the temporary file
  // cannot be made. Writing always creates (or replaces) the whole file.
  CFile(const char* fileName, unsigned flags);
  // A write that was not closed is abandoned: the old file stays.
  ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Bytes copied into `buffer`; 0 at the end of the file.
  unsigned Read(void* buffer, unsigned count);
  // Throws CFileException on failure.
  void Write(const void* buffer, unsigned count);
  // Writing: flushes to disk and renames into place; throws CFileException.
  void Close();
  void Abort();

  const CString& GetFilePath() const { return m_strFileName; }

 private:
  [[noreturn]] void Fail(const char* what) const;

  CString m_strFileName;
  bool m_bWriting = false;
  std::unique_ptr<xls::FileReplacement> m_replacement;  // writing, until closed
  std::vector<char> m_contents;  // reading: the whole file
  size_t m_readPos = 0;
};
