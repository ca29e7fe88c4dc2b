// The workbook's shared string table (SST): reading it, including strings
// split over CONTINUE records, and writing it with its EXTSST index.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "workbook/result.h"

namespace xls {

// What a shared string carries beside its characters: its formatting runs
// (4 bytes each: character position and font) and its phonetic block, kept
// as the file had them so that a save gives them back unchanged.
struct StringFormatting {
  std::vector<uint8_t> runs;
  std::vector<uint8_t> phonetic;
  bool empty() const { return runs.empty() && phonetic.empty(); }
};

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
  std::u16string rich_string(StringFormatting* formatting = nullptr);
  std::u16string unicode_string();
  // `count` bytes that may run on over record boundaries without a fresh option byte.
  std::vector<uint8_t> bytes(uint64_t count);

 private:
  bool next_part();
  size_t left_in_part() const { return m_part < m_parts.size() ? m_parts[m_part].size() - m_pos : 0; }

  std::vector<std::span<const uint8_t>> m_parts;
  size_t m_part = 0;
  size_t m_pos = 0;
  bool m_failed = false;
};

struct SstContents {
  std::vector<std::u16string> strings;
  std::vector<StringFormatting> formatting;  // one per string
};

// `parts` holds the SST body and the bodies of the CONTINUE records after it.
Result<SstContents> ReadSstWithFormatting(std::vector<std::span<const uint8_t>> parts);
Result<std::vector<std::u16string>> ReadSst(std::vector<std::span<const uint8_t>> parts);

// One past the highest shared-string index that the LABELSST cells of a sheet
// substream refer to; 0 when there are none.
uint64_t StringsReferencedBy(std::span<const uint8_t> substream);

// The strings of a workbook being saved: the loaded ones keep their places
// (cells of untouched sheets point at them) and new ones are appended.
class SharedStringTable {
 public:
  SharedStringTable() = default;
  SharedStringTable(std::vector<std::u16string> loaded, std::vector<StringFormatting> formatting,
                    uint32_t loaded_references);

  // Cells of untouched sheets may point past the loaded strings (a damaged
  // file); they read as empty. Empty strings fill the gap so that no string
  // added later takes such an index and gives the cell another text. Refused
  // when the gap is too large to fill.
  Status Cover(uint64_t referenced_count);

  uint32_t Add(const std::u16string& text);
  const std::vector<std::u16string>& strings() const { return m_strings; }
  // Empty for a string without runs or phonetic data (and for added ones).
  const StringFormatting& formatting(size_t index) const;
  uint32_t references() const { return m_references; }

 private:
  std::vector<std::u16string> m_strings;
  std::vector<StringFormatting> m_formatting;
  std::unordered_map<std::u16string, uint32_t> m_index;
  uint32_t m_references = 0;
};

// SST and CONTINUE records followed by EXTSST, for an SST starting at
// `position` in the workbook stream (EXTSST holds absolute offsets).
std::vector<uint8_t> WriteSstAndExtsst(const SharedStringTable& table, uint32_t position);

}  // namespace xls
