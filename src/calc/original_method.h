// The calculation as the program always made it (原方法): 32-bit results of
// the circuits and the board from typed circuits and the board's two inputs.
// Single-phase circuits add Pe to their phase; three-phase circuits add Pe/3
// to each phase and take the board's power factor for their current.
#pragma once

#include <optional>
#include <vector>

#include "calc/circuit.h"

struct OriginalCircuitResult {
  float power = 0.0f;              // Kx × Pe
  std::optional<float> current;    // none when the circuit's power factor is out of range
  bool powerFactorValid = true;    // the circuit's own power factor (single-phase circuits)
};

struct OriginalBoardResult {
  std::vector<OriginalCircuitResult> circuits;  // in row order
  float phaseLoads[3] = {0.0f, 0.0f, 0.0f};     // L1, L2, L3, kW
  float unbalance = 0.0f;
  float equipmentPower = 0.0f;
  float calculatedPower = 0.0f;
  float current = 0.0f;
};

// Power factors are accepted in (0.01, 1].
bool IsValidOriginalPowerFactor(float value);

// `boardPowerFactor` must be valid (the command refuses the run otherwise).
OriginalBoardResult CalculateOriginal(const std::vector<Circuit>& circuits, float boardPowerFactor,
                                      float demandCoefficient);
