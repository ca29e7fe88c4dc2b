#include "calc/edit_texts.h"

#include "calc/calc_texts.h"
#include "calc/problem_texts.h"
#include "platform/text/encoding.h"

namespace calc_text {

CString ValueRefused(CircuitValueProblem problem, const CString& caption, const CString& text) {
  const char* rule = "";
  switch (problem) {
    case CircuitValueProblem::Phase: rule = "须为 L1、L2、L3、L1L2L3 或三相,单相回路可带“(固定)”或“*”"; break;
    case CircuitValueProblem::Power: rule = "须为不小于0的数"; break;
    case CircuitValueProblem::Coefficient: rule = "须为0到1之间的数(可以等于1)"; break;
    case CircuitValueProblem::None: break;
  }
  const CString found = text.IsEmpty() ? FromUtf8("(空)") : FromUtf8("“") + text + FromUtf8("”");
  return caption + FromUtf8(rule) + FromUtf8(",不能填入") + found + FromUtf8(",原值保留。");
}

CString ResultNotEditable() { return FromUtf8("计算结果不能直接修改,请修改回路数据后重新计算。"); }

CString NothingReadToWriteBack() { return ReadDataFirst(); }

CString WrittenBack(const CString& file) {
  return FromUtf8("已将回路数据写回工作表“") + CircuitSheet() + FromUtf8("”\n文件: ") + file;
}

CString WorkbookChangedSinceRead(const CString& file) {
  return FromUtf8("工作簿在读取之后已被改动,为免覆盖这些改动,没有写回。请重新读取后再修改。\n文件: ") + file;
}

CString CircuitSheetChangedSinceRead(const CString& file) {
  return FromUtf8("工作表“") + CircuitSheet() +
         FromUtf8("”与读取时不同,为免覆盖这些改动,没有写回。请重新读取后再修改。\n文件: ") + file;
}

CString WriteBackFailed(const CString& file, const xls::Error& error) {
  return FromUtf8("写回工作簿失败,工作簿保持原样!\n文件: ") + file + FromUtf8("\n错误: ") + Reason(error);
}

}  // namespace calc_text
