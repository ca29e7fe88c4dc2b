// 保存 under 规范法: the rows of the third sheet, the method's inputs and
// figures, one parameter a row like the board sheet.
#include <cstdio>

#include "calc/standard_results_sheet.h"

#include "calc/standard_texts.h"
#include "platform/text/encoding.h"

namespace {

CString Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", value);
  return CString(text);
}

struct Item {
  const char* name;  // UTF-8
  CString value;
};

std::vector<Item> StandardItems(const StandardBoardResult& b, const StandardInputs& in) {
  const StandardTotals& t = b.totals;
  return {{"计算方法", calc_text::MethodName(true)},
          {"有功同时系数K∑p", Number(in.kp)},
          {"无功同时系数K∑q", Number(in.kq)},
          {"目标功率因数", in.compensate ? Number(in.targetPowerFactor) : FromUtf8("不补偿")},
          {"电容器步长(kvar)", Number(in.bankStep)},
          {"L1单相有功(kW)", Number(b.phaseP[0])},
          {"L2单相有功(kW)", Number(b.phaseP[1])},
          {"L3单相有功(kW)", Number(b.phaseP[2])},
          {"L1单相无功(kvar)", Number(b.phaseQ[0])},
          {"L2单相无功(kvar)", Number(b.phaseQ[1])},
          {"L3单相无功(kvar)", Number(b.phaseQ[2])},
          {"三相有功P3(kW)", Number(b.threePhaseP)},
          {"三相无功Q3(kvar)", Number(b.threePhaseQ)},
          {"单相负荷计算规则", calc_text::SinglePhaseRuleName(b.rule)},
          {"有功功率P(kW)", Number(t.p)},
          {"无功功率Q(kvar)", Number(t.q)},
          {"有功计算负荷Pjs(kW)", Number(t.pjs)},
          {"无功计算负荷Qjs(kvar)", Number(t.qjs)},
          {"视在计算负荷Sjs(kVA)", Number(t.sjs)},
          {"功率因数", Number(t.powerFactor)},
          {"计算电流Ijs(A)", Number(t.current)},
          {"不平衡度", Number(b.unbalance)},
          {"补偿容量Qc(kvar)", Number(t.compensation)},
          {"补偿后无功(kvar)", Number(t.qAfter)},
          {"补偿后视在功率(kVA)", Number(t.sAfter)},
          {"补偿后功率因数", Number(t.powerFactorAfter)},
          {"补偿后计算电流(A)", Number(t.currentAfter)}};
}

}  // namespace

std::vector<std::pair<CString, CString>> StandardSheetRows(const StandardBoardResult& board,
                                                           const StandardInputs& inputs) {
  std::vector<std::pair<CString, CString>> rows;
  for (const Item& item : StandardItems(board, inputs)) rows.emplace_back(FromUtf8(item.name), item.value);
  return rows;
}
