// The design code's method (规范法, JGJ 16-2008 §3.5.5): per circuit
// Pjs = Kx × Pe, Qjs = Pjs × tan φ, Ijs; the phase loads; the single-phase
// share rule; K∑p, K∑q; S, cos φ, I; reactive compensation in whole steps of
// the capacitor bank. Everything in double precision.
#pragma once

#include <string>
#include <vector>

#include "calc/circuit.h"

struct StandardInputs {
  double kp = 0.9;              // K∑p, in (0, 1]
  double kq = 0.95;             // K∑q, in (0, 1]
  double targetPowerFactor = 0.9;  // cos φ₂, in (0, 1]
  double bankStep = 10.0;       // kvar, > 0
  bool compensate = true;
};

enum class StandardInputProblem { None, Kp, Kq, TargetPowerFactor, BankStep };

// The first input out of its range, or None.
StandardInputProblem CheckStandardInputs(const StandardInputs& inputs);

enum class SinglePhaseRule {
  Sum,            // single-phase load at most 15 % of the three-phase load: added as it is
  ThreeTimesMax,  // otherwise three times the phase with the largest P
};

struct StandardCircuitResult {
  double pjs = 0.0;  // kW
  double qjs = 0.0;  // kvar
  double ijs = 0.0;  // A
};

// A board (or a busbar) from its P and Q: K∑, S, cos φ, I and compensation.
struct StandardTotals {
  double p = 0.0;  // before K∑p
  double q = 0.0;  // before K∑q
  double pjs = 0.0;
  double qjs = 0.0;
  double sjs = 0.0;
  double powerFactor = 1.0;  // Pjs / Sjs (1 for a board without load)
  double current = 0.0;      // Sjs / (√3 × 0.38)
  bool compensated = false;  // compensation was asked for and needed
  double compensationExact = 0.0;  // Pjs × (tan φ − tan φ₂), before rounding to steps
  double compensation = 0.0;       // Qc in whole steps
  double qAfter = 0.0;
  double sAfter = 0.0;
  double powerFactorAfter = 1.0;
  double currentAfter = 0.0;
};

struct StandardBoardResult {
  std::vector<StandardCircuitResult> circuits;  // in row order
  double phaseP[3] = {0.0, 0.0, 0.0};  // PA, PB, PC of the single-phase circuits
  double phaseQ[3] = {0.0, 0.0, 0.0};
  double threePhaseP = 0.0;  // P3
  double threePhaseQ = 0.0;  // Q3
  SinglePhaseRule rule = SinglePhaseRule::Sum;
  int largestPhase = 0;      // the phase tripled by ThreeTimesMax
  double unbalance = 0.0;    // of PA + P3/3, PB + P3/3, PC + P3/3
  StandardTotals totals;
};

// Which circuits the method cannot take, with why.
struct StandardCircuitProblem {
  int row = 0;
  enum Kind { InvalidPhase, PowerFactorRange } kind = InvalidPhase;
};

constexpr double kStandardShareLimit = 0.15;
constexpr double kSinglePhaseVoltage = 0.22;  // kV
constexpr double kLineVoltage = 0.38;         // kV

std::vector<StandardCircuitProblem> CheckStandardCircuits(const std::vector<Circuit>& circuits);

StandardCircuitResult CalculateStandardCircuit(const Circuit& circuit);

// The pure board part, also for a busbar fed by several boards.
StandardTotals CalculateStandardTotals(double p, double q, const StandardInputs& inputs);

// The circuits and the inputs must pass the checks above.
StandardBoardResult CalculateStandard(const std::vector<Circuit>& circuits, const StandardInputs& inputs);

// The circuit's load as 规范法 balances it: Pjs as a 32-bit value.
float StandardBalanceLoad(const Circuit& circuit);
