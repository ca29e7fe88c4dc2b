#include "calc/standard_method.h"

#include <algorithm>
#include <cmath>

namespace {

const double kSqrt3 = std::sqrt(3.0);
// Qc just above a whole number of steps only by rounding stays at that number.
constexpr double kStepTolerance = 1e-9;

double TanOf(double powerFactor) { return std::sqrt(1.0 - powerFactor * powerFactor) / powerFactor; }

bool InUnitRange(double value) { return value > 0.0 && value <= 1.0; }

double ThreePhaseCurrent(double s) { return s / (kSqrt3 * kLineVoltage); }

void Compensate(StandardTotals& t, const StandardInputs& inputs) {
  t.qAfter = t.qjs;
  t.sAfter = t.sjs;
  t.powerFactorAfter = t.powerFactor;
  t.currentAfter = t.current;
  if (!inputs.compensate || t.pjs <= 0.0 || t.powerFactor >= inputs.targetPowerFactor) return;
  const double tanBefore = t.qjs / t.pjs;
  t.compensationExact = t.pjs * (tanBefore - TanOf(inputs.targetPowerFactor));
  const double steps = std::ceil(t.compensationExact / inputs.bankStep - kStepTolerance);
  t.compensation = std::max(0.0, steps) * inputs.bankStep;
  t.compensated = true;
  t.qAfter = t.qjs - t.compensation;
  t.sAfter = std::hypot(t.pjs, t.qAfter);
  t.powerFactorAfter = t.sAfter > 0.0 ? t.pjs / t.sAfter : 1.0;
  t.currentAfter = ThreePhaseCurrent(t.sAfter);
}

}  // namespace

StandardInputProblem CheckStandardInputs(const StandardInputs& inputs) {
  if (!InUnitRange(inputs.kp)) return StandardInputProblem::Kp;
  if (!InUnitRange(inputs.kq)) return StandardInputProblem::Kq;
  if (!InUnitRange(inputs.targetPowerFactor)) return StandardInputProblem::TargetPowerFactor;
  if (!(inputs.bankStep > 0.0) || !std::isfinite(inputs.bankStep)) return StandardInputProblem::BankStep;
  return StandardInputProblem::None;
}

std::vector<StandardCircuitProblem> CheckStandardCircuits(const std::vector<Circuit>& circuits) {
  std::vector<StandardCircuitProblem> problems;
  for (size_t row = 0; row < circuits.size(); ++row) {
    const int index = static_cast<int>(row);
    if (circuits[row].kind == PhaseKind::Invalid)
      problems.push_back({index, StandardCircuitProblem::InvalidPhase});
    else if (!InUnitRange(circuits[row].powerFactor))
      problems.push_back({index, StandardCircuitProblem::PowerFactorRange});
  }
  return problems;
}

StandardCircuitResult CalculateStandardCircuit(const Circuit& circuit) {
  StandardCircuitResult result;
  const double cosPhi = circuit.powerFactor;
  result.pjs = static_cast<double>(circuit.demandCoefficient) * circuit.equipmentPower;
  result.qjs = result.pjs * TanOf(cosPhi);
  const double volts = circuit.kind == PhaseKind::Three ? kSqrt3 * kLineVoltage : kSinglePhaseVoltage;
  result.ijs = result.pjs / (volts * cosPhi);
  return result;
}

StandardTotals CalculateStandardTotals(double p, double q, const StandardInputs& inputs) {
  StandardTotals t;
  t.p = p;
  t.q = q;
  t.pjs = inputs.kp * p;
  t.qjs = inputs.kq * q;
  t.sjs = std::hypot(t.pjs, t.qjs);
  t.powerFactor = t.sjs > 0.0 ? t.pjs / t.sjs : 1.0;
  t.current = ThreePhaseCurrent(t.sjs);
  Compensate(t, inputs);
  return t;
}

StandardBoardResult CalculateStandard(const std::vector<Circuit>& circuits, const StandardInputs& inputs) {
  StandardBoardResult board;
  for (const Circuit& circuit : circuits) {
    const StandardCircuitResult result = CalculateStandardCircuit(circuit);
    board.circuits.push_back(result);
    if (circuit.kind == PhaseKind::Three) {
      board.threePhaseP += result.pjs;
      board.threePhaseQ += result.qjs;
    } else if (circuit.kind == PhaseKind::Single) {
      board.phaseP[circuit.phase] += result.pjs;
      board.phaseQ[circuit.phase] += result.qjs;
    }
  }
  const double* pp = board.phaseP;
  const double singleP = pp[0] + pp[1] + pp[2];
  const double singleQ = board.phaseQ[0] + board.phaseQ[1] + board.phaseQ[2];
  board.largestPhase = static_cast<int>(std::max_element(pp, pp + 3) - pp);
  board.rule = singleP <= kStandardShareLimit * board.threePhaseP ? SinglePhaseRule::Sum : SinglePhaseRule::ThreeTimesMax;
  const bool sum = board.rule == SinglePhaseRule::Sum;
  const double p = (sum ? singleP : 3.0 * pp[board.largestPhase]) + board.threePhaseP;
  const double q = (sum ? singleQ : 3.0 * board.phaseQ[board.largestPhase]) + board.threePhaseQ;

  const double third = board.threePhaseP / 3.0;
  const double loads[3] = {pp[0] + third, pp[1] + third, pp[2] + third};
  const double total = loads[0] + loads[1] + loads[2];
  board.unbalance =
      total == 0.0 ? 0.0 : (std::max({loads[0], loads[1], loads[2]}) - std::min({loads[0], loads[1], loads[2]})) * 3 / total;
  board.totals = CalculateStandardTotals(p, q, inputs);
  return board;
}

float StandardBalanceLoad(const Circuit& circuit) {
  return static_cast<float>(static_cast<double>(circuit.demandCoefficient) * circuit.equipmentPower);
}
