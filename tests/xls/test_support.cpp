#include "test_support.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace xls::test {

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string Utf16(std::string_view utf8) {
  std::u16string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    char32_t c;
    size_t extra;
    if (b < 0x80) { c = b; extra = 0; }
    else if (b < 0xE0) { c = b & 0x1F; extra = 1; }
    else if (b < 0xF0) { c = b & 0x0F; extra = 2; }
    else { c = b & 0x07; extra = 3; }
    for (size_t k = 1; k <= extra && i + k < utf8.size(); ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::filesystem::path FixturePath(const std::string& name) {
  return std::filesystem::path(LOADCALC_SOURCE_DIR) / "tests/fixtures/xls" / name;
}

std::string PythonWithXlrd() { return ::test::PythonWithModule("xlrd"); }

Grid MakeGrid(std::initializer_list<std::initializer_list<const char*>> rows) {
  Grid grid;
  for (const auto& row : rows) {
    grid.emplace_back();
    for (const char* cell : row) grid.back().push_back(Utf16(cell));
  }
  return grid;
}

}  // namespace xls::test
