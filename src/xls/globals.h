// The workbook globals substream: its records as loaded, the sheet list
// (BOUNDSHEET) and the shared strings; and the globals of a new workbook.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "workbook/result.h"
#include "xls/shared_strings.h"

namespace xls {

struct StoredRecord {
  uint16_t id = 0;
  std::vector<uint8_t> body;
};

struct BoundSheet {
  uint32_t offset = 0;  // of the sheet's BOF in the workbook stream
  uint8_t visibility = 0;
  uint8_t type = 0;  // 0 worksheet, 1 macro sheet, 2 chart, 6 VBA module
  std::u16string name;
};

struct Globals {
  std::vector<StoredRecord> records;  // BOF to EOF, in file order
  std::vector<std::u16string> strings;
  std::vector<StringFormatting> string_formatting;  // one per string
  uint32_t string_references = 0;
  bool has_sst = false;
};

Result<Globals> ReadGlobals(std::span<const uint8_t> stream);
BoundSheet ParseBoundsheet(std::span<const uint8_t> body);
std::vector<uint8_t> MakeBoundsheetBody(const std::u16string& name);

// BOF, CODEPAGE, WINDOW1, DATEMODE, FONTs, XFs, STYLE, COUNTRY and EOF of a
// new workbook; sheets and strings are added when the stream is assembled.
std::vector<StoredRecord> NewGlobals();

// The sheet (by BOUNDSHEET order) whose tab the workbook opens on.
size_t ActiveSheet(const std::vector<StoredRecord>& records);

// The XF that new text cells use: the default cell format of the workbook.
uint16_t DefaultCellFormat(const std::vector<StoredRecord>& records);

}  // namespace xls
