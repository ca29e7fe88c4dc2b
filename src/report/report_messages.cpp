#include "report/report_messages.h"

#include <string>
#include "calc/calc_texts.h"

#include "platform/text/encoding.h"

namespace report {

CString CalculateFirst() { return calc_text::CalculateFirst(); }

CString ReportWritten(const CString& file) { return FromUtf8("计算书写入成功!\n文件: ") + file; }

CString ReportWriteFailed(const CString& file, const CString& error) {
  return FromUtf8("计算书写入失败!\n文件: ") + file + FromUtf8("\n错误: ") + error;
}

CString ReportDefaultName() { return FromUtf8("负荷计算书"); }

CString FormulaCellsWithoutValue(const std::vector<FormulaCell>& cells) {
  constexpr size_t kNamed = 5;
  CString text = FromUtf8("工作簿中有没有计算值的公式, 无法作为数字读取:");
  for (size_t i = 0; i < cells.size() && i < kNamed; ++i)
    text += FromUtf8("\n回路 ") + cells[i].circuit + FromUtf8(" 的单元格 ") + cells[i].reference + " (" + cells[i].formula + ")";
  if (cells.size() > kNamed) text += FromUtf8("\n等 ") + CString(std::to_string(cells.size())) + FromUtf8(" 个单元格");
  return text + FromUtf8("\n请在电子表格程序 (如 LibreOffice 或 Excel) 中打开并保存该工作簿, 然后重新读取。"
                         "\n(Formulas without a stored value: open and save the workbook in a spreadsheet program.)");
}

}  // namespace report
