// Helpers of the .xlsx tests: packages built part by part, fixtures, and
// the independent programs (python3-openpyxl, LibreOffice) that check files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "../support/files_and_commands.h"
#include "../support/temp_folder.h"
#include "xls/workbook.h"

namespace xlsx::test {

using Parts = std::vector<std::pair<std::string, std::string>>;

std::string Utf8(std::u16string_view text);
std::u16string Utf16(std::string_view utf8);

std::filesystem::path FixturePath(const std::string& name);
using ::test::ReadBytes;
using ::test::WriteBytes;

// A workbook package with one worksheet whose part is `sheet_xml`, plus
// `extra` parts (a sharedStrings part is wired up when given).
Parts OneSheetPackage(const std::string& sheet_xml, Parts extra = {});
std::vector<uint8_t> Zip(const Parts& parts);

// The grid as UTF-8 rows, for readable comparisons.
std::vector<std::vector<std::string>> Rows(const xls::Grid& grid);

using ::test::RunCommand;
// The Python interpreter that has openpyxl, or "" when there is none.
std::string PythonWithOpenpyxl();
bool HaveSoffice();
// openpyxl's view of a workbook: every sheet's values, formulas, fonts,
// fills and merged ranges, one line per sheet, or "" when it cannot open it.
std::string OpenpyxlDump(const std::filesystem::path& book);

}  // namespace xlsx::test
