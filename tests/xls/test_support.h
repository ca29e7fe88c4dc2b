// Helpers shared by the workbook engine's tests: temporary folders, UTF-8
// conversion for comparing with other programs' output, running commands.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/files_and_commands.h"
#include "../support/temp_folder.h"
#include "xls/workbook.h"

namespace xls::test {

std::string Utf8(std::u16string_view text);
std::u16string Utf16(std::string_view utf8);

// A fresh folder removed at the end of the test.
using ::test::TempFolder;

std::filesystem::path FixturePath(const std::string& name);
using ::test::ReadBytes;
using ::test::RunCommand;
using ::test::WriteBytes;

// The Python interpreter that has xlrd, or "" when there is none.
std::string PythonWithXlrd();

Grid MakeGrid(std::initializer_list<std::initializer_list<const char*>> rows);

}  // namespace xls::test
