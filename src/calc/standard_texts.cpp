#include "calc/standard_texts.h"

#include "platform/text/encoding.h"

namespace calc_text {

CString StandardInputRange(StandardInputProblem problem) {
  switch (problem) {
    case StandardInputProblem::Kp: return FromUtf8("有功同时系数 K∑p 必须大于0且不大于1");
    case StandardInputProblem::Kq: return FromUtf8("无功同时系数 K∑q 必须大于0且不大于1");
    case StandardInputProblem::TargetPowerFactor: return FromUtf8("目标功率因数必须大于0且不大于1");
    case StandardInputProblem::BankStep: return FromUtf8("电容器步长必须大于0 (kvar)");
    case StandardInputProblem::None: break;
  }
  return CString();
}

CString AllCircuitsFixed() { return FromUtf8("所有回路的相别都已固定或为三相,不需要进行自动平衡计算"); }
CString BelowNeedsMovableBoard() {
  return FromUtf8("有固定相别或三相回路时,不能按不平衡度上限移动最少回路;请使用自动平衡");
}
CString StandardResultsSheet() { return FromUtf8("规范法计算结果"); }
CString MethodName(bool standard) { return FromUtf8(standard ? "规范法" : "原方法"); }
CString SinglePhaseRuleName(SinglePhaseRule rule) {
  return FromUtf8(rule == SinglePhaseRule::Sum ? "单相负荷不超过三相负荷的15%,直接相加"
                                               : "单相负荷超过三相负荷的15%,取最大相负荷的3倍");
}

}  // namespace calc_text
