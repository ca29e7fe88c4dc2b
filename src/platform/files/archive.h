// CArchive: buffered line reading and text writing over a CFile.
// A line ends at "\n", at "\r\n", or at a "\r" that no "\n" follows (old Mac
// files): the line end is not part of the line.
#pragma once

#include <vector>

#include "platform/files/file.h"
#include "platform/text/cstring.h"

class CArchive {
 public:
  enum Mode : unsigned { store = 0, load = 1 };

  CArchive(CFile* file, unsigned mode, int bufferSize = 4096);
  // Storing: whatever is still buffered is written, errors ignored; call
  // Close() to learn whether writing succeeded.
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  // The next line without its line end; false at the end of the file.
  bool ReadString(CString& line);
  // Writes the bytes of `text`; no line end is added. Throws CFileException.
  void WriteString(const char* text);
  // Every byte of the text, a NUL included.
  void WriteString(const CString& text);
  // Storing: writes the buffer out; throws CFileException.
  void Flush();
  void Close();

 private:
  bool NextByte(char& byte);
  bool PeekByte(char& byte);

  CFile* m_pFile;
  bool m_bLoading;
  std::vector<char> m_buffer;
  size_t m_pos = 0;   // loading: next byte in the buffer
  size_t m_used = 0;  // bytes in the buffer
  bool m_closed = false;
};
