#include "report/report_messages.h"

#include "calc/calc_texts.h"

#include "platform/text/encoding.h"

namespace report {

CString CalculateFirst() { return calc_text::CalculateFirst(); }

CString ReportWritten(const CString& file) { return FromUtf8("计算书写入成功!\n文件: ") + file; }

CString ReportWriteFailed(const CString& file, const CString& error) {
  return FromUtf8("计算书写入失败!\n文件: ") + file + FromUtf8("\n错误: ") + error;
}

CString ReportDefaultName() { return FromUtf8("负荷计算书"); }

}  // namespace report
