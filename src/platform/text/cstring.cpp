#include "platform/text/cstring.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "platform/text/mbcs.h"

CString CString::Left(int count) const {
  if (count <= 0) return CString();
  return CString(m_s.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
  if (count <= 0) return CString();
  if (static_cast<size_t>(count) >= m_s.size()) return *this;
  return CString(m_s.substr(m_s.size() - static_cast<size_t>(count)));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  if (first < 0) first = 0;
  if (count <= 0 || static_cast<size_t>(first) >= m_s.size()) return CString();
  return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

int CString::Find(char ch, int start) const {
  const char sub[2] = {ch, '\0'};
  return Find(sub, start);
}

int CString::Find(const char* sub, int start) const {
  if (!sub || start < 0 || static_cast<size_t>(start) > m_s.size()) return -1;
  const std::string_view needle(sub);
  for (size_t i = mbcs::NextCharacterStart(m_s, static_cast<size_t>(start)); i + needle.size() <= m_s.size();
       i += mbcs::CharacterLength(m_s, i)) {
    if (m_s.compare(i, needle.size(), needle) == 0) return static_cast<int>(i);
  }
  return -1;
}

int CString::ReverseFind(char ch) const {
  int found = -1;
  for (size_t i = 0; i < m_s.size(); i += mbcs::CharacterLength(m_s, i)) {
    if (m_s[i] == ch) found = static_cast<int>(i);
  }
  return found;
}

int CString::Replace(const char* oldText, const char* newText) {
  if (!oldText || !*oldText) return 0;
  const std::string_view from(oldText);
  const std::string_view to(newText ? newText : "");
  std::string result;
  int count = 0;
  size_t i = 0;
  while (i < m_s.size()) {
    if (m_s.compare(i, from.size(), from) == 0) {
      result += to;
      i += from.size();
      ++count;
    } else {
      const size_t len = mbcs::CharacterLength(m_s, i);
      result.append(m_s, i, len);
      i += len;
    }
  }
  m_s = std::move(result);
  return count;
}

int CString::Delete(int index, int count) {
  if (index < 0) index = 0;
  if (count > 0 && static_cast<size_t>(index) < m_s.size()) {
    m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  }
  return GetLength();
}

CString& CString::MakeLower() {
  for (size_t i = 0; i < m_s.size(); i += mbcs::CharacterLength(m_s, i)) {
    if (m_s[i] >= 'A' && m_s[i] <= 'Z') m_s[i] = static_cast<char>(m_s[i] - 'A' + 'a');
  }
  return *this;
}

static bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f'; }

CString& CString::TrimRight() {
  while (!m_s.empty() && IsBlank(m_s.back())) m_s.pop_back();
  return *this;
}

CString& CString::Trim() {
  TrimRight();
  size_t i = 0;
  while (i < m_s.size() && IsBlank(m_s[i])) ++i;
  m_s.erase(0, i);
  return *this;
}

int CString::CompareNoCase(const char* other) const {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(m_s.c_str()),
                  reinterpret_cast<const unsigned char*>(other ? other : ""));
}

static std::string FormatV(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (needed <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(needed) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return std::string(buffer.data(), static_cast<size_t>(needed));
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  m_s = FormatV(format, args);
  va_end(args);
}

void CString::AppendFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  m_s += FormatV(format, args);
  va_end(args);
}

bool IsCharacterStart(std::string_view text, size_t index) {
  size_t i = 0;
  while (i < index && i < text.size()) i += mbcs::CharacterLength(text, i);
  return i == index;
}

static int CompareMultibyte(const unsigned char* a, const unsigned char* b, bool foldCase) {
  const std::string_view sa(reinterpret_cast<const char*>(a));
  const std::string_view sb(reinterpret_cast<const char*>(b));
  size_t i = 0;
  size_t j = 0;
  while (i < sa.size() && j < sb.size()) {
    unsigned long ca = mbcs::CharacterValue(sa, i);
    unsigned long cb = mbcs::CharacterValue(sb, j);
    if (foldCase) {
      if (ca < 0x80) ca = static_cast<unsigned long>(std::tolower(static_cast<int>(ca)));
      if (cb < 0x80) cb = static_cast<unsigned long>(std::tolower(static_cast<int>(cb)));
    }
    if (ca != cb) return ca < cb ? -1 : 1;
    i += mbcs::CharacterLength(sa, i);
    j += mbcs::CharacterLength(sb, j);
  }
  if (i < sa.size()) return 1;
  if (j < sb.size()) return -1;
  return 0;
}

int _mbscmp(const unsigned char* a, const unsigned char* b) { return CompareMultibyte(a, b, false); }
int _mbsicmp(const unsigned char* a, const unsigned char* b) { return CompareMultibyte(a, b, true); }
