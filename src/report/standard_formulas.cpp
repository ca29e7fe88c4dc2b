#include "report/standard_formulas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace report {

namespace {

std::string N(double value, int decimals = 3) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

const char* const kPhaseNames[3] = {"A (L1)", "B (L2)", "C (L3)"};

double TanOf(double powerFactor) { return std::sqrt(1.0 - powerFactor * powerFactor) / powerFactor; }

}  // namespace

std::vector<std::string> StandardFacts(const StandardInputs& inputs) {
  return {"计算方法：规范法（JGJ 16-2008 第3.5.5条）", "有功同时系数 K∑p：" + N(inputs.kp, 2),
          "无功同时系数 K∑q：" + N(inputs.kq, 2),
          inputs.compensate ? "目标功率因数 cosφ₂：" + N(inputs.targetPowerFactor, 2) : std::string("无功补偿：不补偿"),
          "电容器步长：" + N(inputs.bankStep, 1) + " kvar"};
}

std::vector<std::string> StandardLoadLines(const StandardBoardResult& b) {
  std::vector<std::string> lines = {
      "各回路：Pjs = Kx × Pe；Qjs = Pjs × tanφ；单相 Ijs = Pjs / (0.22 × cosφ)，三相 Ijs = Pjs / (√3 × 0.38 × cosφ)"};
  for (int k = 0; k < 3; ++k)
    lines.push_back(std::string("单相回路 ") + kPhaseNames[k] + "：P = " + N(b.phaseP[k]) + " kW，Q = " +
                    N(b.phaseQ[k]) + " kvar");
  lines.push_back("三相回路：P3 = " + N(b.threePhaseP) + " kW，Q3 = " + N(b.threePhaseQ) + " kvar");
  const double single = b.phaseP[0] + b.phaseP[1] + b.phaseP[2];
  const double limit = kStandardShareLimit * b.threePhaseP;
  const StandardTotals& t = b.totals;
  if (b.rule == SinglePhaseRule::Sum) {
    lines.push_back("单相负荷 PA + PB + PC = " + N(single) + " kW ≤ 15% × P3 = " + N(limit) +
                    " kW（JGJ 16-2008 第3.5.5条）：单相负荷与三相负荷直接相加");
    lines.push_back("P = PA + PB + PC + P3 = " + N(single) + " + " + N(b.threePhaseP) + " = " + N(t.p) + " kW");
    lines.push_back("Q = QA + QB + QC + Q3 = " + N(b.phaseQ[0] + b.phaseQ[1] + b.phaseQ[2]) + " + " +
                    N(b.threePhaseQ) + " = " + N(t.q) + " kvar");
  } else {
    const int m = b.largestPhase;
    lines.push_back("单相负荷 PA + PB + PC = " + N(single) + " kW > 15% × P3 = " + N(limit) +
                    " kW（JGJ 16-2008 第3.5.5条）：单相负荷取最大相 " + kPhaseNames[m] + " 的 3 倍");
    lines.push_back("P = 3 × Pmax + P3 = 3 × " + N(b.phaseP[m]) + " + " + N(b.threePhaseP) + " = " + N(t.p) + " kW");
    lines.push_back("Q = 3 × Q(最大相) + Q3 = 3 × " + N(b.phaseQ[m]) + " + " + N(b.threePhaseQ) + " = " + N(t.q) +
                    " kvar");
  }
  return lines;
}

std::vector<std::string> StandardBoardLines(const StandardBoardResult& b, const StandardInputs& inputs) {
  const StandardTotals& t = b.totals;
  return {"有功计算负荷 Pjs = K∑p × P = " + N(inputs.kp, 2) + " × " + N(t.p) + " = " + N(t.pjs) + " kW",
          "无功计算负荷 Qjs = K∑q × Q = " + N(inputs.kq, 2) + " × " + N(t.q) + " = " + N(t.qjs) + " kvar",
          "视在计算负荷 Sjs = √(Pjs² + Qjs²) = √(" + N(t.pjs) + "² + " + N(t.qjs) + "²) = " + N(t.sjs) + " kVA",
          "功率因数 cosφ = Pjs / Sjs = " + N(t.pjs) + " / " + N(t.sjs) + " = " + N(t.powerFactor),
          "计算电流 Ijs = Sjs / (√3 × 0.38) = " + N(t.sjs) + " / " + N(std::sqrt(3.0) * 0.38, 4) + " = " +
              N(t.current, 2) + " A（开关按此电流选择）"};
}

std::vector<std::string> StandardCompensationLines(const StandardBoardResult& b, const StandardInputs& inputs) {
  const StandardTotals& t = b.totals;
  if (!inputs.compensate) return {"不进行无功补偿。"};
  if (!t.compensated)
    return {"cosφ = " + N(t.powerFactor) + " ≥ 目标 cosφ₂ = " + N(inputs.targetPowerFactor, 2) + "，不需要补偿。"};
  return {"补偿容量 Qc = Pjs × (tanφ − tanφ₂) = " + N(t.pjs) + " × (" + N(t.qjs / t.pjs, 4) + " − " +
              N(TanOf(inputs.targetPowerFactor), 4) + ") = " + N(t.compensationExact) + " kvar",
          "按电容器步长 " + N(inputs.bankStep, 1) + " kvar 取整：Qc = " + N(t.compensation, 1) + " kvar",
          "补偿后 Q′ = Qjs − Qc = " + N(t.qjs) + " − " + N(t.compensation, 1) + " = " + N(t.qAfter) + " kvar",
          "补偿后 S′ = √(Pjs² + Q′²) = " + N(t.sAfter) + " kVA，cosφ′ = Pjs / S′ = " + N(t.powerFactorAfter),
          "补偿后 I′ = S′ / (√3 × 0.38) = " + N(t.currentAfter, 2) + " A"};
}

std::vector<std::string> StandardUnbalanceNotes(const StandardBoardResult& b) {
  const double third = b.threePhaseP / 3.0;
  double loads[3];
  for (int k = 0; k < 3; ++k) loads[k] = b.phaseP[k] + third;
  const double total = loads[0] + loads[1] + loads[2];
  std::vector<std::string> notes = {"各相负荷 = 单相回路 Pjs 之和 + P3 / 3"};
  if (total == 0.0) {
    notes.push_back("三相负荷之和为 0，不平衡度取 0。");
  } else {
    notes.push_back("不平衡度 = (最大相 − 最小相) × 3 / 三相之和");
    notes.push_back("= (" + N(std::max({loads[0], loads[1], loads[2]})) + " − " +
                    N(std::min({loads[0], loads[1], loads[2]})) + ") × 3 / " + N(total) + " = " + N(b.unbalance, 4));
  }
  notes.push_back("规范法按单相负荷占比选择计算方法（见第三节）。");
  return notes;
}

}  // namespace report
