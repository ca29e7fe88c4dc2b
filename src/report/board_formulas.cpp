#include "report/board_formulas.h"

#include <algorithm>
#include <cstdio>

namespace report {

namespace {

// The same limit and factor the calculation uses.
constexpr double kUnbalanceLimit = 0.15;
constexpr const char* kLimitText = "0.15";
constexpr const char* kCurrentFactorText = "1.52";

float LargestPhase(const BoardFigures& b) { return std::max({b.l1, b.l2, b.l3}); }
float SmallestPhase(const BoardFigures& b) { return std::min({b.l1, b.l2, b.l3}); }

double ComputedUnbalance(const BoardFigures& b) {
  const float total = PhaseTotal(b);
  if (total == 0.0f) return 0.0;
  return (static_cast<double>(LargestPhase(b)) - SmallestPhase(b)) * 3 / total;
}

std::string PhaseSum(const BoardFigures& b) {
  return FieldNumber(b.l1) + " + " + FieldNumber(b.l2) + " + " + FieldNumber(b.l3);
}

}  // namespace

std::string FieldNumber(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
  return text;
}

float PhaseTotal(const BoardFigures& b) { return static_cast<float>(static_cast<double>(b.l3) + b.l2 + b.l1); }

bool UsesLargestPhaseRule(const BoardFigures& b) { return ComputedUnbalance(b) >= kUnbalanceLimit; }

std::vector<std::string> UnbalanceNotes(const BoardFigures& b) {
  std::vector<std::string> notes;
  const float total = PhaseTotal(b);
  if (total == 0.0f) {
    notes.push_back("三相负荷之和为 0，不平衡度取 0。");
  } else {
    notes.push_back("不平衡度 = (最大相 − 最小相) × 3 / 三相之和");
    notes.push_back("= (" + FieldNumber(LargestPhase(b)) + " − " + FieldNumber(SmallestPhase(b)) + ") × 3 / " +
                    FieldNumber(total) + " = " + FieldNumber(b.unbalance));
  }
  if (UsesLargestPhaseRule(b))
    notes.push_back("不平衡度 " + FieldNumber(b.unbalance) + " ≥ " + kLimitText + "，设备功率取最大相负荷的 3 倍。");
  else
    notes.push_back("不平衡度 " + FieldNumber(b.unbalance) + " < " + kLimitText + "，设备功率取三相负荷之和。");
  return notes;
}

std::vector<std::string> BoardFormulaLines(const BoardFigures& b) {
  const std::string equipment = UsesLargestPhaseRule(b) ? "3 × " + FieldNumber(LargestPhase(b)) : PhaseSum(b);
  return {
      "设备功率 Pe = " + equipment + " = " + FieldNumber(b.equipmentPower) + " kW",
      "计算功率 Pjs = Kx × Pe = " + FieldNumber(b.demandCoefficient) + " × " + FieldNumber(b.equipmentPower) +
          " = " + FieldNumber(b.calculatedPower) + " kW",
      std::string("计算电流 Ijs = Pjs × ") + kCurrentFactorText + " / cosφ = " + FieldNumber(b.calculatedPower) +
          " × " + kCurrentFactorText + " / " + FieldNumber(b.powerFactor) + " = " + FieldNumber(b.current) + " A",
  };
}

}  // namespace report
