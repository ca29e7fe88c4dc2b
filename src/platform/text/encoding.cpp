#include "platform/text/encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace {

// One iconv conversion that never fails: an input sequence the source
// encoding does not allow is skipped (one unit at a time) and replaced.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (m_cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert text");
  }
  ~Converter() { iconv_close(m_cd); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::string Run(const char* data, size_t size, size_t unit, std::string_view replacement) {
    std::string out;
    out.reserve(size * 2 + 8);
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(data);
    size_t inLeft = size;
    char buffer[4096];
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t rc = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (rc != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated sequence at the end): replace one unit.
      out += replacement;
      const size_t skip = inLeft < unit ? inLeft : unit;
      in += skip;
      inLeft -= skip;
      iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    return out;
  }

 private:
  iconv_t m_cd;
};

const std::string_view kUtf16Replacement("\xFD\xFF", 2);  // U+FFFD, little endian

std::u16string BytesToU16(const std::string& bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return out;
}

std::string U16ToBytes(const std::u16string& text) {
  std::string out(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    out[2 * i] = static_cast<char>(text[i] & 0xFF);
    out[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return out;
}

// Both code pages agree with ASCII on its 128 characters; texts made of them
// alone (numbers, statements, most names) need no conversion.
bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
bool IsAscii(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

}  // namespace

std::u16string ToUtf16(const CString& text) {
  const std::string_view bytes(text.GetString(), static_cast<size_t>(text.GetLength()));
  if (IsAscii(bytes)) return std::u16string(bytes.begin(), bytes.end());
  thread_local Converter converter("UTF-16LE", "GB18030");
  return BytesToU16(converter.Run(text.GetString(), static_cast<size_t>(text.GetLength()), 1, kUtf16Replacement));
}

CString FromUtf16(const std::u16string& text) {
  if (IsAscii(text)) return CString(std::string(text.begin(), text.end()));
  thread_local Converter converter("GB18030", "UTF-16LE");
  const std::string bytes = U16ToBytes(text);
  return CString(converter.Run(bytes.data(), bytes.size(), 2, "?"));
}

std::string ToUtf8(const CString& text) {
  thread_local Converter converter("UTF-8", "GB18030");
  return converter.Run(text.GetString(), static_cast<size_t>(text.GetLength()), 1, "\xEF\xBF\xBD");
}

CString FromUtf8(const std::string& text) {
  thread_local Converter converter("GB18030", "UTF-8");
  return CString(converter.Run(text.data(), text.size(), 1, "?"));
}
