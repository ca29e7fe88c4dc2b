#include "xlsx/xml_text.h"

#include <cstdint>

namespace xlsx {

namespace {

bool IsHex(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }

unsigned HexValue(char16_t c) {
  if (c <= u'9') return c - u'0';
  if (c <= u'F') return c - u'A' + 10;
  return c - u'a' + 10;
}

// "_xHHHH_" starting at `at`.
bool IsEscapeAt(std::u16string_view text, size_t at) {
  if (at + 7 > text.size() || text[at] != u'_' || text[at + 1] != u'x' || text[at + 6] != u'_') return false;
  for (size_t i = 2; i < 6; ++i)
    if (!IsHex(text[at + i])) return false;
  return true;
}

// Characters XML 1.0 cannot carry: most controls and the two non-characters.
bool NeedsEscape(char16_t c) { return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF; }

}  // namespace

std::u16string DecodeCellEscapes(std::u16string_view text) {
  if (text.find(u"_x") == std::u16string_view::npos) return std::u16string(text);
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    if (IsEscapeAt(text, i)) {
      unsigned value = 0;
      for (size_t k = 2; k < 6; ++k) value = value * 16 + HexValue(text[i + k]);
      out += static_cast<char16_t>(value);
      i += 7;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string EscapeXml(std::u16string_view text) {
  std::u16string escaped;
  escaped.reserve(text.size());
  static const char16_t kHex[] = u"0123456789ABCDEF";
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (NeedsEscape(c) || IsEscapeAt(text, i)) {
      const unsigned value = NeedsEscape(c) ? c : u'_';
      escaped += u"_x";
      for (int shift = 12; shift >= 0; shift -= 4) escaped += kHex[(value >> shift) & 0xF];
      escaped += u'_';
      if (!NeedsEscape(c)) continue;  // the '_' itself was written as _x005F_
    } else {
      escaped += c;
    }
  }
  std::string out;
  for (char c : Utf16ToUtf8(escaped)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\r': out += "&#13;"; break;
      case '\t': out += "&#9;"; break;
      case '\n': out += "&#10;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace xlsx
