#include "platform/files/archive.h"

CArchive::CArchive(CFile* file, unsigned mode, int bufferSize)
    : m_pFile(file), m_bLoading(mode == load), m_buffer(static_cast<size_t>(bufferSize > 0 ? bufferSize : 4096)) {}

CArchive::~CArchive() {
  try {
    Close();
  } catch (const CFileException&) {
    // Reported to those who call Close() themselves.
  }
}

bool CArchive::PeekByte(char& byte) {
  if (m_pos == m_used) {
    m_used = m_pFile->Read(m_buffer.data(), static_cast<unsigned>(m_buffer.size()));
    m_pos = 0;
    if (m_used == 0) return false;
  }
  byte = m_buffer[m_pos];
  return true;
}

bool CArchive::NextByte(char& byte) {
  if (!PeekByte(byte)) return false;
  ++m_pos;
  return true;
}

bool CArchive::ReadString(CString& line) {
  std::string text;
  char byte = 0;
  if (!NextByte(byte)) return false;
  for (;;) {
    if (byte == '\n') break;
    if (byte == '\r') {
      char next = 0;
      if (PeekByte(next) && next == '\n') ++m_pos;
      break;
    }
    text += byte;
    if (!NextByte(byte)) break;
  }
  line = CString(text);
  return true;
}

void CArchive::WriteString(const char* text) {
  for (const char* p = text; *p != '\0'; ++p) {
    if (m_used == m_buffer.size()) Flush();
    m_buffer[m_used++] = *p;
  }
}

void CArchive::WriteString(const CString& text) {
  for (const char byte : text.str()) {
    if (m_used == m_buffer.size()) Flush();
    m_buffer[m_used++] = byte;
  }
}

void CArchive::Flush() {
  if (m_bLoading || m_used == 0) return;
  const size_t used = m_used;
  m_used = 0;
  m_pFile->Write(m_buffer.data(), static_cast<unsigned>(used));
}

void CArchive::Close() {
  if (m_closed) return;
  m_closed = true;
  Flush();
}
