// Shared by the spreadsheet tests: a fresh folder per test, file bytes, the
// statements sent to the workbook, and rows as plain strings.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/odbc/database.h"
#include "platform/text/cstring_array.h"
#include "sheet/spreadsheet.h"
#include "../support/temp_folder.h"

using Row = std::vector<std::string>;

inline CStringArray Values(const Row& row) {
  CStringArray values;
  for (const auto& value : row) values.Add(CString(value));
  return values;
}

inline Row ToRow(const CStringArray& values) {
  Row row;
  for (const CString& value : values) row.push_back(value.str());
  return row;
}

// Row `row` as read by ReadRow; an empty result when the read fails.
inline Row Read(CSpreadSheet& sheet, long row) {
  CStringArray values;
  if (!sheet.ReadRow(values, row)) return {"(read failed)"};
  return ToRow(values);
}

inline std::vector<Row> AllRows(CSpreadSheet& sheet) {
  std::vector<Row> rows;
  for (long r = 1; r <= sheet.GetTotalRows(); ++r) rows.push_back(Read(sheet, r));
  return rows;
}

class SheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CDatabase::SetStatementLog([this](const CString& sql) { m_statements.push_back(sql.str()); });
  }
  void TearDown() override {
    CDatabase::SetStatementLog(nullptr);
  }

  CString Path(const std::string& name) const { return CString(m_dir + "/" + name); }

  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(m_dir + "/" + name, std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) const {
    std::ifstream in(m_dir + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(m_dir + "/" + name); }

  ::test::TempFolder m_temp{"spreadsheet"};
  const std::string m_dir = m_temp.Path().string();
  std::vector<std::string> m_statements;
};
