// The busbar and the transformer of a building: the worked example of the
// system level, and the same figures from a straightforward implementation
// written here on random systems.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "calc/system_busbar.h"

namespace {

StandardTotals BoardOf(double pjs, double qjs) {
  StandardTotals board;
  board.pjs = pjs;
  board.qjs = qjs;
  return board;
}

// The reference: the formulas as a designer writes them on paper.
struct Reference {
  double p, q, s, cosPhi, current, qc, sAfter, cosAfter, rating, rateBefore, rateAfter;
};

Reference Straightforward(const std::vector<StandardTotals>& boards, double kp, double kq, double target, double step,
                          int count, double maxRate) {
  Reference r{};
  double sumP = 0, sumQ = 0;
  for (const StandardTotals& b : boards) {
    sumP += b.pjs;
    sumQ += b.qjs;
  }
  r.p = kp * sumP;
  r.q = kq * sumQ;
  r.s = std::sqrt(r.p * r.p + r.q * r.q);
  r.cosPhi = r.p / r.s;
  r.current = r.s / (std::sqrt(3.0) * 0.38);
  // Whole steps added one by one until the reactive load left is at most
  // the target's (a last step may overshoot into a leading power factor).
  int steps = 0;
  const double qTarget = r.p * std::sqrt(1 - target * target) / target;
  if (r.cosPhi < target)
    while (r.q - steps * step > qTarget) ++steps;
  r.qc = steps * step;
  r.sAfter = std::sqrt(r.p * r.p + (r.q - r.qc) * (r.q - r.qc));
  r.cosAfter = r.p / r.sAfter;
  const double ratings[] = {100, 125, 160, 200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500};
  r.rating = 0;
  for (double sn : ratings)
    if (r.sAfter / (count * sn) <= maxRate) {
      r.rating = sn;
      break;
    }
  const double used = r.rating > 0 ? r.rating : 2500;
  r.rateBefore = r.s / (count * used);
  r.rateAfter = r.sAfter / (count * used);
  return r;
}

}  // namespace

// The worked example of a building: boards summing to ΣPjs 439.0 kW
// and ΣQjs 314.9 kvar, K∑ 0.9/0.95, compensation to 0.9 in 10 kvar steps,
// one transformer at most 85 % loaded.
TEST(SystemBusbar, WorkedExampleOfTheBuilding) {
  const std::vector<StandardTotals> boards = {BoardOf(150.0, 110.0), BoardOf(189.0, 124.9), BoardOf(100.0, 80.0)};
  const BusbarResult busbar = CalculateBusbar(boards, StandardInputs{}, TransformerInputs{});
  const Reference ref = Straightforward(boards, 0.9, 0.95, 0.9, 10, 1, 0.85);
  const StandardTotals& t = busbar.totals;
  EXPECT_NEAR(busbar.boardsP, 439.0, 1e-9);
  EXPECT_NEAR(busbar.boardsQ, 314.9, 1e-9);
  EXPECT_NEAR(t.pjs, ref.p, 1e-9);
  EXPECT_NEAR(t.pjs, 395.1, 0.05);
  EXPECT_NEAR(t.qjs, 299.2, 0.05);
  EXPECT_NEAR(t.sjs, 495.6, 0.05);
  EXPECT_NEAR(t.powerFactor, 0.797, 0.0005);
  EXPECT_NEAR(t.current, 753.0, 0.05);
  EXPECT_NEAR(t.compensationExact, ref.p * (ref.q / ref.p - std::sqrt(1 / 0.81 - 1)), 1e-9);
  EXPECT_DOUBLE_EQ(t.compensation, 110.0);
  EXPECT_NEAR(t.sAfter, 438.0, 0.05);
  ASSERT_TRUE(busbar.transformer.rating.has_value());
  EXPECT_DOUBLE_EQ(*busbar.transformer.rating, 630.0);
  EXPECT_NEAR(busbar.transformer.loadRate, 0.695, 0.0005);
  EXPECT_NEAR(busbar.transformer.loadRateBefore, 0.787, 0.0005);
}

TEST(SystemBusbar, TransformerRatingsAtTheirLimitsAndBeyond) {
  // Exactly 85 % of 500 kVA is allowed; a hair more takes 630.
  EXPECT_EQ(ChooseTransformer(425.0, 425.0, {1, 0.85}).rating, 500.0);
  EXPECT_EQ(ChooseTransformer(425.1, 425.1, {1, 0.85}).rating, 630.0);
  // Two transformers share the load.
  EXPECT_EQ(ChooseTransformer(850.0, 850.0, {2, 0.85}).rating, 500.0);
  // Beyond 2500 kVA × 0.85: none, the load rate of the largest shown.
  const TransformerChoice none = ChooseTransformer(3000.0, 2200.0, {1, 0.85});
  EXPECT_FALSE(none.rating.has_value());
  EXPECT_NEAR(none.loadRate, 2200.0 / 2500, 1e-12);
  EXPECT_NEAR(none.loadRateBefore, 3000.0 / 2500, 1e-12);
  // No load at all: the smallest rating.
  EXPECT_EQ(ChooseTransformer(0.0, 0.0, {1, 0.85}).rating, 100.0);
  EXPECT_EQ(CheckTransformerInputs({0, 0.85}), TransformerInputProblem::Count);
  EXPECT_EQ(CheckTransformerInputs({1, 1.2}), TransformerInputProblem::MaxLoadRate);
  EXPECT_EQ(CheckTransformerInputs({1, 0.0}), TransformerInputProblem::MaxLoadRate);
}

TEST(SystemBusbar, EqualsTheStraightforwardCalculationOnRandomSystems) {
  std::mt19937 rng(26);
  std::uniform_int_distribution<int> boardsCount(1, 40);
  std::uniform_real_distribution<double> power(0.5, 120.0), tanPhi(0.1, 1.4), unit(0.6, 1.0);
  std::uniform_int_distribution<int> stepChoice(0, 3), countChoice(1, 3);
  const double steps[] = {5, 10, 15, 30};
  for (int system = 0; system < 2000; ++system) {
    std::vector<StandardTotals> boards;
    const int n = boardsCount(rng);
    for (int i = 0; i < n; ++i) {
      const double p = power(rng);
      boards.push_back(BoardOf(p, p * tanPhi(rng)));
    }
    const StandardInputs in{unit(rng), unit(rng), std::min(0.99, unit(rng) + 0.05), steps[stepChoice(rng)], true};
    const TransformerInputs tx{countChoice(rng), std::min(1.0, unit(rng) + 0.1)};
    const BusbarResult got = CalculateBusbar(boards, in, tx);
    const Reference ref = Straightforward(boards, in.kp, in.kq, in.targetPowerFactor, in.bankStep, tx.count,
                                          tx.maxLoadRate);
    SCOPED_TRACE(system);
    const StandardTotals& t = got.totals;
    EXPECT_NEAR(t.pjs, ref.p, 1e-9);
    EXPECT_NEAR(t.qjs, ref.q, 1e-9);
    EXPECT_NEAR(t.sjs, ref.s, 1e-9);
    EXPECT_NEAR(t.powerFactor, ref.cosPhi, 1e-12);
    EXPECT_NEAR(t.current, ref.current, 1e-9);
    EXPECT_DOUBLE_EQ(t.compensation, ref.qc);
    EXPECT_NEAR(t.sAfter, ref.sAfter, 1e-9);
    EXPECT_NEAR(t.powerFactorAfter, ref.cosAfter, 1e-12);
    EXPECT_EQ(got.transformer.rating.value_or(0), ref.rating);
    EXPECT_NEAR(got.transformer.loadRateBefore, ref.rateBefore, 1e-12);
    EXPECT_NEAR(got.transformer.loadRate, ref.rateAfter, 1e-12);
  }
}
