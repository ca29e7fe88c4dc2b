// The busbar of a building: the boards' Pjs and Qjs summed, K∑p and K∑q of
// the busbar, S, cos φ, I and compensation (the board part of 规范法), then
// the transformer: the smallest standard rating whose load rate after
// compensation stays within the largest load rate.
#pragma once

#include <optional>
#include <vector>

#include "calc/standard_method.h"

// The standard ratings a transformer is chosen from, kVA, smallest first.
const std::vector<double>& StandardTransformerRatings();

struct TransformerInputs {
  int count = 1;              // n, transformers sharing the load
  double maxLoadRate = 0.85;  // S′ / (n × Sn) may be at most this
};

enum class TransformerInputProblem { None, Count, MaxLoadRate };
TransformerInputProblem CheckTransformerInputs(const TransformerInputs& inputs);

struct TransformerChoice {
  int count = 1;
  std::optional<double> rating;  // kVA; empty when even the largest is too small
  double loadRateBefore = 0.0;   // Sjs / (n × Sn)
  double loadRate = 0.0;         // S′ / (n × Sn)
};

struct BusbarResult {
  double boardsP = 0.0;  // ΣPjs of the boards
  double boardsQ = 0.0;  // ΣQjs
  StandardTotals totals;  // K∑ of the busbar, S, cos φ, I, compensation
  TransformerChoice transformer;
};

// Ratings against S′ (after compensation); the load rates of the chosen
// rating, or of the largest when none suffices.
TransformerChoice ChooseTransformer(double sBefore, double sAfter, const TransformerInputs& inputs);

// The inputs must pass CheckStandardInputs and CheckTransformerInputs.
BusbarResult CalculateBusbar(const std::vector<StandardTotals>& boards, const StandardInputs& busbar,
                             const TransformerInputs& transformer);
