// CString: a byte string in code page 936, as the program's code expects it.
// Double-byte characters (lead byte 0x81..0xFE) are kept whole by the
// searching operations; positions and lengths are counted in bytes.
#pragma once

#include <compare>
#include <string>
#include <string_view>

class CString {
 public:
  CString() = default;
  CString(const char* text) : m_s(text ? text : "") {}  // NOLINT: implicit as in the class library
  CString(const std::string& text) : m_s(text) {}       // NOLINT
  CString(std::string_view text) : m_s(text) {}         // NOLINT
  CString(char ch, int repeat) : m_s(repeat > 0 ? repeat : 0, ch) {}

  int GetLength() const { return static_cast<int>(m_s.size()); }
  bool IsEmpty() const { return m_s.empty(); }
  void Empty() { m_s.clear(); }
  const char* GetString() const { return m_s.c_str(); }
  operator const char*() const { return m_s.c_str(); }  // NOLINT: LPCTSTR
  const std::string& str() const { return m_s; }

  char GetAt(int index) const { return m_s.at(static_cast<size_t>(index)); }
  void SetAt(int index, char ch) { m_s.at(static_cast<size_t>(index)) = ch; }

  CString Left(int count) const;
  CString Right(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;

  // Multibyte-aware search: a match never starts on the trail byte of a
  // double-byte character. Returns -1 when nothing is found.
  int Find(char ch, int start = 0) const;
  int Find(const char* sub, int start = 0) const;
  int ReverseFind(char ch) const;

  int Replace(const char* oldText, const char* newText);
  int Delete(int index, int count = 1);

  // Case changes touch single-byte letters only.
  CString& MakeLower();
  CString& TrimRight();
  CString& Trim();

  int CompareNoCase(const char* other) const;  // _mbsicmp

  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

  CString& operator+=(const CString& other) { m_s += other.m_s; return *this; }
  CString& operator+=(const char* other) { m_s += other ? other : ""; return *this; }
  CString& operator+=(char ch) { m_s += ch; return *this; }

  friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
  friend CString operator+(const CString& a, const char* b) { return CString(a.m_s + (b ? b : "")); }
  friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_s); }
  friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
  friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
  friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.m_s <=> b.m_s; }

 private:
  std::string m_s;
};

// True when byte `index` of `text` begins a character (is not a trail byte).
bool IsCharacterStart(std::string_view text, size_t index);

// The runtime's multibyte comparisons: characters compared as whole units,
// _mbsicmp folding single-byte letters only.
int _mbscmp(const unsigned char* a, const unsigned char* b);
int _mbsicmp(const unsigned char* a, const unsigned char* b);
