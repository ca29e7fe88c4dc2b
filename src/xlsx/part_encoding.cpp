#include "xlsx/part_encoding.h"

#include <algorithm>
#include <cctype>

#include "xlsx/xml_text.h"

namespace xlsx {

namespace {

// Written in place of a UTF-16 part's declaration while it is edited as UTF-8.
constexpr std::string_view kUtf8Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

std::u16string Utf16Units(std::string_view bytes, bool big_endian) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]), second = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(big_endian ? (first << 8) | second : (second << 8) | first);
  }
  return units;
}

std::string Utf16Bytes(std::u16string_view units, bool big_endian) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t unit : units) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

// The XML declaration at the start of `text`, or "".
std::string_view Declaration(std::string_view text) {
  if (!text.starts_with("<?xml")) return {};
  const size_t end = text.find("?>");
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 2);
}

// The declared encoding in lower case, or "" when none is declared.
std::string DeclaredEncoding(std::string_view declaration) {
  const size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  const size_t open = declaration.find_first_of("\"'", at);
  if (open == std::string_view::npos) return {};
  const size_t close = declaration.find(declaration[open], open + 1);
  if (close == std::string_view::npos) return {};
  std::string name(declaration.substr(open + 1, close - open - 1));
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name;
}

}  // namespace

xls::Result<EditablePart> EditablePart::Decode(std::string_view stored, const std::string& part) {
  EditablePart result;
  const auto byte = [&](size_t i) { return i < stored.size() ? static_cast<unsigned char>(stored[i]) : 0x100u; };
  if (byte(0) == 0xFF && byte(1) == 0xFE) result.m_encoding = Encoding::Utf16LittleEndian;
  else if (byte(0) == 0xFE && byte(1) == 0xFF) result.m_encoding = Encoding::Utf16BigEndian;
  else if (byte(0) == '<' && byte(1) == 0) result.m_encoding = Encoding::Utf16LittleEndian;
  else if (byte(0) == 0 && byte(1) == '<') result.m_encoding = Encoding::Utf16BigEndian;

  if (result.m_encoding == Encoding::Utf8) {
    const std::string declared = DeclaredEncoding(Declaration(stored.starts_with("\xEF\xBB\xBF") ? stored.substr(3) : stored));
    if (!declared.empty() && declared != "utf-8" && declared != "utf8")
      return xls::MakeError("The part " + part + " is stored in the encoding " + declared +
                            ", in which the program cannot write; the workbook is left as it was");
    result.m_text = std::string(stored);
    return result;
  }
  const bool big_endian = result.m_encoding == Encoding::Utf16BigEndian;
  const size_t mark = byte(0) == '<' || byte(1) == '<' ? 0 : 2;
  result.m_mark = std::string(stored.substr(0, mark));
  const std::string_view body = stored.substr(mark);
  std::string text = Utf16ToUtf8(Utf16Units(body, big_endian));
  // Only a part that comes back byte for byte may be edited this way.
  if (body.size() % 2 != 0 || Utf16Bytes(Utf8ToUtf16(text), big_endian) != body)
    return xls::MakeError("The part " + part + " is not valid UTF-16; the workbook is left as it was");
  result.m_declaration = std::string(Declaration(text));
  if (!result.m_declaration.empty()) text.replace(0, result.m_declaration.size(), kUtf8Declaration);
  result.m_text = std::move(text);
  return result;
}

std::string EditablePart::Encode(std::string_view edited) const {
  if (m_encoding == Encoding::Utf8) return std::string(edited);
  std::string text(edited);
  if (!m_declaration.empty() && text.starts_with(kUtf8Declaration))
    text.replace(0, kUtf8Declaration.size(), m_declaration);
  return m_mark + Utf16Bytes(Utf8ToUtf16(text), m_encoding == Encoding::Utf16BigEndian);
}

}  // namespace xlsx
