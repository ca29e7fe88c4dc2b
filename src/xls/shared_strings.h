// The workbook's shared string table (SST): reading it, including strings
// split over CONTINUE records, and writing it with its EXTSST index.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "xls/result.h"

namespace xls {

// Reads data spread over a record and the CONTINUE records after it. Where a
// string's characters cross into the next record, that record starts with a
// fresh option byte saying whether the rest is one or two bytes a character.
class ContinuedReader {
 public:
  explicit ContinuedReader(std::vector<std::span<const uint8_t>> parts) : m_parts(std::move(parts)) {}

  bool failed() const { return m_failed; }
  uint8_t u8();
  uint16_t u16();
  uint32_t u32();
  void skip(uint64_t count);
  // A string's characters after its header; `high_byte` is the header's flag.
  std::u16string chars(size_t count, bool high_byte);
  // A whole XLUnicodeRichExtendedString (SST entries) or XLUnicodeString.
  std::u16string rich_string();
  std::u16string unicode_string();

 private:
  bool next_part();
  size_t left_in_part() const { return m_part < m_parts.size() ? m_parts[m_part].size() - m_pos : 0; }

  std::vector<std::span<const uint8_t>> m_parts;
  size_t m_part = 0;
  size_t m_pos = 0;
  bool m_failed = false;
};

// `parts` holds the SST body and the bodies of the CONTINUE records after it.
Result<std::vector<std::u16string>> ReadSst(std::vector<std::span<const uint8_t>> parts);

// The strings of a workbook being saved: the loaded ones keep their places
// (cells of untouched sheets point at them) and new ones are appended.
class SharedStringTable {
 public:
  SharedStringTable() = default;
  SharedStringTable(std::vector<std::u16string> loaded, uint32_t loaded_references);

  uint32_t Add(const std::u16string& text);
  const std::vector<std::u16string>& strings() const { return m_strings; }
  uint32_t references() const { return m_references; }

 private:
  std::vector<std::u16string> m_strings;
  std::unordered_map<std::u16string, uint32_t> m_index;
  uint32_t m_references = 0;
};

// SST and CONTINUE records followed by EXTSST, for an SST starting at
// `position` in the workbook stream (EXTSST holds absolute offsets).
std::vector<uint8_t> WriteSstAndExtsst(const SharedStringTable& table, uint32_t position);

}  // namespace xls
