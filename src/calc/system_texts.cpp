#include "calc/system_texts.h"

#include "platform/text/encoding.h"

namespace system_text {

namespace {

CString U(const char* utf8) { return FromUtf8(utf8); }

CString RowText(int row) {
  CString text;
  text.Format("%d", row);
  return U("第") + text + U("行");
}

CString BoardText(const SystemProblem& p) {
  return U("配电箱") + p.board + U("(") + RowText(p.row) + U(")");
}

CString BoardFileText(const SystemProblem& p) { return BoardText(p) + U("的工作簿") + p.file; }

}  // namespace

CString SystemSheet() { return U("配电系统"); }
CString ParameterSheet() { return U("系统参数"); }
CString SystemResultsSheet() { return U("配电系统计算结果"); }

CString ProblemText(const SystemProblem& p) {
  switch (p.kind) {
    case SystemProblemKind::SystemMissing: return U("配电系统工作簿") + p.file + U("不存在");
    case SystemProblemKind::SystemUnreadable:
      return U("配电系统工作簿") + p.file + U("不能读取(") + p.detail + U(")");
    case SystemProblemKind::NoBoards:
      return U("配电系统工作簿") + p.file + U("的工作表\"配电系统\"中没有配电箱");
    case SystemProblemKind::BoardNameMissing: return U("工作表\"配电系统\"") + RowText(p.row) + U("没有配电箱编号");
    case SystemProblemKind::WorkbookNameMissing: return BoardText(p) + U("没有填写工作簿");
    case SystemProblemKind::DuplicateBoard: {
      CString first;
      first.Format("%d", p.otherRow);
      return U("配电箱编号") + p.board + U("重复(第") + first + U("行和") + RowText(p.row) + U(")");
    }
    case SystemProblemKind::UnknownParameter: return U("工作表\"系统参数\"中的参数") + p.board + U("不认识");
    case SystemProblemKind::ParameterNotNumber:
      return U("参数") + p.board + U("的值\"") + p.detail + U("\"不是数值");
    case SystemProblemKind::ParameterRange: return U("参数") + p.board + p.detail;
    case SystemProblemKind::BoardMissing: return BoardFileText(p) + U("不存在");
    case SystemProblemKind::BoardUnreadable: return BoardFileText(p) + U("不能读取(") + p.detail + U(")");
    case SystemProblemKind::BoardEmpty: return BoardFileText(p) + U("中没有回路(工作表\"线路负荷计算\")");
    case SystemProblemKind::BoardRefused: return BoardText(p) + U("不能计算:") + p.detail;
  }
  return CString();
}

CString ProblemsMessage(const std::vector<SystemProblem>& problems) {
  CString message = U("配电系统计算未完成,没有得出母线和变压器的结果:");
  for (const SystemProblem& problem : problems) message += "\n" + ProblemText(problem);
  return message;
}

CString NoTransformerLargeEnough(int count, double maxLoadRate) {
  CString text;
  text.Format("%d", count);
  CString rate;
  rate.Format("%.0f%%", maxLoadRate * 100);
  return U("变压器台数为") + text + U("时,2500kVA的变压器负荷率仍超过") + rate + U(",请增加变压器台数");
}

}  // namespace system_text
