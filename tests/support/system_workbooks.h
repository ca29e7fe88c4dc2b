// A building in a temporary folder for tests: board workbooks (circuits and
// switch library) and the system workbook naming them.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "xls/workbook.h"
#include "workbook_read_back.h"

namespace test {

inline const Rows kBoardLibrary = {{"C16", "16"}, {"C32", "32"}, {"C63", "63"}, {"NSX100", "100"},
                                   {"NSX250", "160", "250"}, {"NS630", "400", "630"}, {"NS1000", "800", "1000"}};

// A board workbook: "线路负荷计算" and, unless empty, "开关型号库".
inline bool WriteBoardWorkbook(const std::filesystem::path& path, const Rows& circuits,
                               const Rows& library = kBoardLibrary) {
  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, circuits));
  if (!library.empty()) book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, library));
  return book.Save(path.string()).ok();
}

// The system workbook: "配电系统" with 配电箱编号 | 工作簿 | 备注 rows and,
// when given, "系统参数" and "开关型号库".
inline bool WriteSystemWorkbook(const std::filesystem::path& path, const Rows& boards, const Rows& parameters = {},
                                const Rows& library = {}) {
  xls::Workbook book;
  book.AddSheet(u"配电系统", WithHeader({"配电箱编号", "工作簿", "备注"}, boards));
  if (!parameters.empty()) book.AddSheet(u"系统参数", WithHeader({"参数", "值"}, parameters));
  if (!library.empty()) book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, library));
  return book.Save(path.string()).ok();
}

}  // namespace test
