#include "calc/system_busbar.h"

#include <cmath>

namespace {

// A load rate equal to the limit is allowed; rounding in the sums must not
// refuse it.
constexpr double kRateTolerance = 1e-12;

}  // namespace

const std::vector<double>& StandardTransformerRatings() {
  static const std::vector<double> ratings = {100, 125, 160, 200, 250, 315, 400, 500,
                                              630, 800, 1000, 1250, 1600, 2000, 2500};
  return ratings;
}

TransformerInputProblem CheckTransformerInputs(const TransformerInputs& inputs) {
  if (inputs.count < 1) return TransformerInputProblem::Count;
  if (!(inputs.maxLoadRate > 0.0 && inputs.maxLoadRate <= 1.0)) return TransformerInputProblem::MaxLoadRate;
  return TransformerInputProblem::None;
}

TransformerChoice ChooseTransformer(double sBefore, double sAfter, const TransformerInputs& inputs) {
  TransformerChoice choice;
  choice.count = inputs.count;
  const std::vector<double>& ratings = StandardTransformerRatings();
  double rating = ratings.back();
  for (const double candidate : ratings) {
    if (sAfter / (inputs.count * candidate) <= inputs.maxLoadRate + kRateTolerance) {
      choice.rating = candidate;
      rating = candidate;
      break;
    }
  }
  choice.loadRateBefore = sBefore / (inputs.count * rating);
  choice.loadRate = sAfter / (inputs.count * rating);
  return choice;
}

BusbarResult CalculateBusbar(const std::vector<StandardTotals>& boards, const StandardInputs& busbar,
                             const TransformerInputs& transformer) {
  BusbarResult result;
  for (const StandardTotals& board : boards) {
    result.boardsP += board.pjs;
    result.boardsQ += board.qjs;
  }
  result.totals = CalculateStandardTotals(result.boardsP, result.boardsQ, busbar);
  result.transformer = ChooseTransformer(result.totals.sjs, result.totals.sAfter, transformer);
  return result;
}
