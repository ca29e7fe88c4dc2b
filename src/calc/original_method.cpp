#include "calc/original_method.h"

#include <algorithm>

namespace {

constexpr double kCircuitVoltage = 0.22;  // kV, single phase
constexpr double kBoardCurrentFactor = 1.52;
constexpr double kUnbalanceLimit = 0.15;

float AddTo(float sum, double load) { return static_cast<float>(static_cast<double>(sum) + load); }

OriginalCircuitResult CalculateCircuit(const Circuit& circuit, float boardPowerFactor) {
  OriginalCircuitResult result;
  result.power = static_cast<float>(static_cast<double>(circuit.demandCoefficient) * circuit.equipmentPower);
  if (circuit.kind == PhaseKind::Three) {
    result.current = static_cast<float>(static_cast<double>(result.power) * kBoardCurrentFactor / boardPowerFactor);
    return result;
  }
  result.powerFactorValid = IsValidOriginalPowerFactor(circuit.powerFactor);
  if (result.powerFactorValid)
    result.current = static_cast<float>(result.power / (kCircuitVoltage * circuit.powerFactor));
  return result;
}

void AddPhaseLoads(const Circuit& circuit, float sums[3]) {
  if (circuit.kind == PhaseKind::Single) sums[circuit.phase] = AddTo(sums[circuit.phase], circuit.equipmentPower);
  if (circuit.kind == PhaseKind::Three)
    for (int phase = 0; phase < 3; ++phase) sums[phase] = AddTo(sums[phase], circuit.equipmentPower / 3.0);
}

}  // namespace

bool IsValidOriginalPowerFactor(float value) { return value > 0.01 && value <= 1; }

OriginalBoardResult CalculateOriginal(const std::vector<Circuit>& circuits, float boardPowerFactor,
                                      float demandCoefficient) {
  OriginalBoardResult board;
  for (const Circuit& circuit : circuits) {
    board.circuits.push_back(CalculateCircuit(circuit, boardPowerFactor));
    AddPhaseLoads(circuit, board.phaseLoads);
  }
  const float* sums = board.phaseLoads;
  const float max = std::max({sums[0], sums[1], sums[2]});
  const float min = std::min({sums[0], sums[1], sums[2]});
  const auto total = static_cast<float>(static_cast<double>(sums[2]) + sums[1] + sums[0]);
  // A board without load has no unbalance (the formula would divide by 0).
  const double unbalance = total == 0.0f ? 0.0 : (static_cast<double>(max) - min) * 3 / total;
  board.unbalance = static_cast<float>(unbalance);
  board.equipmentPower = unbalance >= kUnbalanceLimit ? static_cast<float>(3.0 * max) : total;
  board.calculatedPower = static_cast<float>(static_cast<double>(demandCoefficient) * board.equipmentPower);
  board.current =
      static_cast<float>(static_cast<double>(board.calculatedPower) * kBoardCurrentFactor / boardPowerFactor);
  return board;
}
