#include "calc/calc_texts.h"

#include "platform/text/encoding.h"

namespace calc_text {

CString CircuitNumber() { return FromUtf8("线路编号"); }
CString Phase() { return FromUtf8("相别"); }
CString EquipmentPower() { return FromUtf8("设备功率"); }
CString DemandCoefficient() { return FromUtf8("需要系数"); }
CString PowerFactor() { return FromUtf8("功率因数"); }
CString Remark() { return FromUtf8("备注"); }
CString CalculatedPower() { return FromUtf8("计算功率"); }
CString CalculatedCurrent() { return FromUtf8("计算电流"); }
CString CandidateSwitches() { return FromUtf8("可选开关"); }

CString CircuitSheet() { return FromUtf8("线路负荷计算"); }
CString SwitchLibrarySheet() { return FromUtf8("开关型号库"); }
CString CircuitResultsSheet() { return FromUtf8("各回路负荷计算结果"); }
CString BoardResultsSheet() { return FromUtf8("总回路参数计算结果"); }

CString ParameterItem() { return FromUtf8("参数项"); }
CString ParameterValue() { return FromUtf8("参数值"); }
CString PhaseLoad(int phase) {
  CString text;
  text.Format("L%d", phase);
  return text + FromUtf8("相容量");
}
CString Unbalance() { return FromUtf8("不平衡度"); }
CString BoardSwitches() { return FromUtf8("可选择开关"); }
CString NoSwitch() { return FromUtf8("无"); }

CString ReadDataFirst() { return FromUtf8("请首先读入数据文件!"); }
CString CalculateFirst() { return FromUtf8("请首先进行计算!"); }
CString BoardPowerFactorRange() { return FromUtf8("功率因数必须介于0和1之间"); }
CString CircuitPowerFactorRange() { return FromUtf8("功率因数必须在0与1之间"); }
CString InvalidPhaseSuffix() { return FromUtf8("\n回路的相别指定不合法"); }
CString TooFewCircuits() { return FromUtf8("回路数小于3,不需要进行自动平衡计算"); }
CString TooManyCircuits() { return FromUtf8("目前的自动平衡计算的回路数不能超过19路"); }
CString TooManyCircuitsForExtendedMethod() { return FromUtf8("目前的自动平衡计算的回路数不能超过200路"); }
CString AskExtendedMethod() {
  return FromUtf8("\n\n是否用扩展方法进行自动平衡?\n(在不平衡度最小的分配中移动最少的回路,最长计算2秒)");
}
CString CannotBalanceLoads() { return FromUtf8("回路的设备功率含有负数、非数值或过大的数值,不能进行自动平衡计算"); }
CString BalancingCancelled() { return FromUtf8("自动平衡计算已取消,各回路的相别没有改变"); }
CString NotProvedInTime(double unbalance, double lowerBound) {
  // Six decimals can print the two as equal; more are given until they
  // differ, and equal values say the bound is reached.
  CString text;
  CString bound;
  for (int digits = 6; digits <= 17; ++digits) {
    text.Format("%.*f", digits, unbalance);
    bound.Format("%.*f", digits, lowerBound);
    if (text != bound) break;
  }
  const CString found = FromUtf8("在时限内未能证明结果最优:采用找到的最好分配,不平衡度") + text;
  if (text == bound) return found + FromUtf8(",已达到可证明的下限");
  return found + FromUtf8(",不平衡度不可能低于") + bound;
}
CString FewestMovesNotProvedInTime(int moved) {
  CString text;
  text.Format("%d", moved);
  return FromUtf8("在时限内未能证明移动的回路数最少:采用找到的分配,移动") + text + FromUtf8("个回路");
}
CString BoundOutOfReach(double bound) {
  CString text;
  text.Format("%g", bound);
  return FromUtf8("任何相别分配的不平衡度都不能低于") + text + FromUtf8(",各回路的相别没有改变");
}
CString BoundNotReachedInTime(double bound) {
  CString text;
  text.Format("%g", bound);
  return FromUtf8("在时限内未找到不平衡度低于") + text + FromUtf8("的相别分配,各回路的相别没有改变");
}
CString WriteSucceeded() { return FromUtf8("文件写入成功!"); }

namespace {
// Error texts of the spreadsheet component end in a line feed; one is enough.
CString WithoutTrailingLineEnds(CString text) {
  text.TrimRight();
  return text;
}
}  // namespace

CString WriteFailed(const CString& file, const CString& error) {
  return FromUtf8("文件写入失败!\n文件: ") + file + FromUtf8("\n错误: ") + WithoutTrailingLineEnds(error);
}

CString WorkbookUnreadable(const CString& file, const CString& error) {
  return FromUtf8("无法打开数据文件!\n文件: ") + file + FromUtf8("\n错误: ") + WithoutTrailingLineEnds(error);
}

CString NotAWorkbookFile() { return FromUtf8("这不是程序读取的工作簿格式 (只读取 .xls、.xlsx、.xlsm 文件)"); }

}  // namespace calc_text
