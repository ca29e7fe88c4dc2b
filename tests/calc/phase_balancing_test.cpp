#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "calc/phase_balancing.h"

namespace {

// The search step by step as the command defines it, kept here on its own as
// the reference: counter digits (circuit 0 least significant), sums in
// double, unbalance compared with the best stored as a float.
std::vector<int> ReferenceSearch(const std::vector<float>& loads) {
  const int n = static_cast<int>(loads.size());
  std::vector<int> counter(n, 0), best(n, 0);
  float bestUnbalance = 2000;
  const int total = static_cast<int>(std::pow(3.0, n));
  for (int step = 0; step < total; ++step) {
    for (int i = 0; i < n; ++i) {
      if (counter[i] < 2) {
        counter[i]++;
        break;
      }
      counter[i] = 0;
    }
    double sum[3] = {0, 0, 0};
    for (int i = 0; i < n; ++i) sum[counter[i]] += loads[i];
    double max = sum[0], min = sum[0];
    for (double s : sum) {
      if (s > max) max = s;
      if (s < min) min = s;
    }
    const double u = (max - min) * 3 / (sum[0] + sum[1] + sum[2]);
    if (u < bestUnbalance) {
      best = counter;
      bestUnbalance = static_cast<float>(u);
    }
  }
  return best;
}

TEST(PhaseBalancing, KnownBoards) {
  EXPECT_EQ(BalancePhases(std::vector<float>{5, 5, 5}), (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(BalancePhases(std::vector<float>{4, 4, 4, 4}), (std::vector<int>{2, 1, 0, 0}));
  // 294/104 rounds up into a float, so the last equal assignment wins.
  EXPECT_EQ(BalancePhases(std::vector<float>{100, 1, 1, 1, 1}), (std::vector<int>{0, 1, 1, 2, 2}));
}

TEST(PhaseBalancing, AllZeroLoadsStayOnL1) {
  const std::vector<float> zeros(7, 0.0f);
  EXPECT_EQ(BalancePhases(zeros), std::vector<int>(7, 0));
  EXPECT_EQ(ReferenceSearch(zeros), std::vector<int>(7, 0));
  const std::vector<float> negativeZeros(4, -0.0f);
  EXPECT_EQ(BalancePhases(negativeZeros), std::vector<int>(4, 0));
}

// Loads whose sums are not exact in double, or negative ones, take the
// exhaustive path; the answer must still be the reference's.
TEST(PhaseBalancing, InexactAndNegativeLoadsGiveTheReferenceAnswer) {
  const std::vector<std::vector<float>> boards = {
      {1e30f, 1e-30f, 3.0f, 7.5f},
      {1e20f, 1.0f, 1.0f, 1e20f, 3.0f},
      {5.0f, -2.0f, 3.0f, 1.0f},
      {-1.0f, -2.0f, -3.0f},
  };
  for (const auto& loads : boards) {
    EXPECT_EQ(BalancePhases(loads), ReferenceSearch(loads));
    EXPECT_EQ(BalancePhasesExhaustively(loads), ReferenceSearch(loads));
  }
}

enum class Kind {
  Decimals,
  EqualLoads,
  SomeZeros,
  Dominant,
  SingleNonZero,
  SmallIntegers,
  Quarters,
  OneNegative,
  MostlyNegative,
  CancellingToZero,
  MixedMagnitudes,
};

std::vector<float> RandomBoard(Kind kind, int n, std::mt19937& rng) {
  std::uniform_int_distribution<int> hundredths(1, 3000);
  std::vector<float> loads(static_cast<size_t>(n));
  for (float& load : loads) load = static_cast<float>(hundredths(rng)) / 100.0f;
  switch (kind) {
    case Kind::Decimals:
      break;
    case Kind::EqualLoads:
      std::fill(loads.begin(), loads.end(), loads[0]);
      break;
    case Kind::SomeZeros:
      for (float& load : loads)
        if (rng() % 3 == 0) load = 0.0f;
      break;
    case Kind::Dominant:
      loads[rng() % loads.size()] = static_cast<float>(hundredths(rng)) / 10.0f + 100.0f;
      break;
    case Kind::SingleNonZero: {
      const float only = loads[0];
      std::fill(loads.begin(), loads.end(), 0.0f);
      loads[rng() % loads.size()] = only;
      break;
    }
    case Kind::SmallIntegers:
      for (float& load : loads) load = static_cast<float>(rng() % 4);
      break;
    case Kind::Quarters:
      for (float& load : loads) load = static_cast<float>(rng() % 12) * 0.25f;
      break;
    case Kind::OneNegative:
      loads[rng() % loads.size()] *= -1.0f;
      break;
    case Kind::MostlyNegative:
      for (float& load : loads)
        if (rng() % 4 != 0) load = -load;
      break;
    case Kind::CancellingToZero:
      for (size_t i = 0; i + 1 < loads.size(); i += 2) loads[i + 1] = -loads[i];
      if (loads.size() % 2 == 1) loads.back() = 0.0f;
      break;
    case Kind::MixedMagnitudes:
      for (float& load : loads)
        if (rng() % 2 == 0) load = rng() % 3 == 0 ? 1e4f : 1e-3f * static_cast<float>(1 + rng() % 9);
      break;
  }
  return loads;
}

class RandomBoards : public testing::TestWithParam<Kind> {};

TEST_P(RandomBoards, SameAnswerAsTheReference) {
  std::mt19937 rng(1234 + static_cast<unsigned>(GetParam()));
  int compared = 0;
  for (int n = 3; n <= 12; ++n) {
    const int cases = n <= 8 ? 120 : (n <= 10 ? 40 : 8);
    for (int c = 0; c < cases; ++c) {
      const std::vector<float> loads = RandomBoard(GetParam(), n, rng);
      ASSERT_EQ(BalancePhases(loads), ReferenceSearch(loads)) << "board " << c << " of " << n << " circuits";
      ++compared;
    }
  }
  EXPECT_GT(compared, 600);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RandomBoards,
                         testing::Values(Kind::Decimals, Kind::EqualLoads, Kind::SomeZeros, Kind::Dominant,
                                         Kind::SingleNonZero, Kind::SmallIntegers, Kind::Quarters, Kind::OneNegative,
                                         Kind::MostlyNegative, Kind::CancellingToZero, Kind::MixedMagnitudes));

// The literal search, when the sums cannot be exact, reports progress and
// stops when told to.
TEST(PhaseBalancing, LiteralSearchCanBeCancelled) {
  const std::vector<float> loads(14, 0.0f);
  std::vector<float> inexact = loads;
  inexact[0] = 1e30f;
  inexact[1] = 1e-30f;
  int reports = 0;
  const auto cancelled = BalancePhases(inexact, [&reports](double share) {
    EXPECT_GE(share, 0.0);
    EXPECT_LE(share, 1.0);
    return ++reports < 2;
  });
  EXPECT_FALSE(cancelled.has_value());
  EXPECT_EQ(reports, 2);
  const auto finished = BalancePhases(std::vector<float>{1e30f, 1e-30f, 3.0f, 7.5f}, [](double) { return false; });
  ASSERT_TRUE(finished.has_value());  // too short to report at all
  EXPECT_EQ(*finished, ReferenceSearch({1e30f, 1e-30f, 3.0f, 7.5f}));
}

}  // namespace
