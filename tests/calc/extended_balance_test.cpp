#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "calc/extended_balance.h"

namespace {

// Loads of whole hundredths of a kW, as the designer writes them.
std::vector<float> Hundredths(const std::vector<int>& hundredths) {
  std::vector<float> loads;
  for (const int h : hundredths) loads.push_back(static_cast<float>(h) / 100.0f);
  return loads;
}

int64_t SpreadOf(const std::vector<int>& hundredths, const std::vector<int>& phases) {
  std::array<int64_t, 3> sums{0, 0, 0};
  for (size_t i = 0; i < phases.size(); ++i) sums[static_cast<size_t>(phases[i])] += hundredths[i];
  return *std::max_element(sums.begin(), sums.end()) - *std::min_element(sums.begin(), sums.end());
}

// An exact method of its own: every pair of (L1, L2) sums reachable, row by
// row, as bit sets; L3 takes the rest.
int64_t SmallestSpreadByReachableSums(const std::vector<int>& hundredths) {
  int total = 0;
  for (const int h : hundredths) total += h;
  const size_t words = static_cast<size_t>(total) / 64 + 1;
  std::vector<std::vector<uint64_t>> rows(static_cast<size_t>(total) + 1, std::vector<uint64_t>(words, 0));
  rows[0][0] = 1;  // L1 = 0, L2 = 0
  for (const int w : hundredths) {
    for (int a = total; a >= 0; --a) {
      const std::vector<uint64_t> old = rows[static_cast<size_t>(a)];
      if (a + w <= total)
        for (size_t k = 0; k < words; ++k) rows[static_cast<size_t>(a + w)][k] |= old[k];
      const size_t wordShift = static_cast<size_t>(w) / 64;
      const unsigned bitShift = static_cast<unsigned>(w) % 64;
      for (size_t k = words; k-- > wordShift;) {
        uint64_t shifted = old[k - wordShift] << bitShift;
        if (bitShift && k - wordShift > 0) shifted |= old[k - wordShift - 1] >> (64 - bitShift);
        rows[static_cast<size_t>(a)][k] |= shifted;
      }
    }
  }
  int64_t best = total;
  for (int a = 0; a <= total; ++a)
    for (int b = 0; a + b <= total; ++b)
      if (rows[static_cast<size_t>(a)][static_cast<size_t>(b) / 64] >> (b % 64) & 1) {
        const int c = total - a - b;
        best = std::min<int64_t>(best, std::max({a, b, c}) - std::min({a, b, c}));
      }
  return best;
}

BalanceLimits Generous() { return BalanceLimits{60.0, {}}; }

TEST(ExtendedBalance, SmallestUnbalanceMatchesAnExactMethodOnTwentyToTwentyFourCircuits) {
  std::mt19937 rng(2024);
  std::uniform_int_distribution<int> hundredths(10, 300);
  for (int n = 20; n <= 24; ++n) {
    for (int board = 0; board < 3; ++board) {
      std::vector<int> units(static_cast<size_t>(n));
      for (int& u : units) u = hundredths(rng);
      if (board == 2) units[0] = 2500;  // one circuit larger than a third of the rest
      const std::vector<int> current(units.size(), 0);
      const ExtendedBalance result = BalanceExtended(Hundredths(units), current, Generous());
      ASSERT_EQ(result.stop, BalanceStop::Finished) << n << " circuits, board " << board;
      EXPECT_TRUE(result.optimal);
      const int64_t expected = SmallestSpreadByReachableSums(units);
      EXPECT_EQ(SpreadOf(units, result.phases), expected) << n << " circuits, board " << board;
      int total = 0;
      for (const int u : units) total += u;
      EXPECT_DOUBLE_EQ(result.unbalance, static_cast<double>(expected) * 3 / total);
      EXPECT_DOUBLE_EQ(result.lowerBound, result.unbalance);
    }
  }
}

// Every assignment, ranked by spread, then moves, then the documented order:
// circuits by decreasing power (rows in order among equals), each preferring
// its read phase, then L1, L2, L3.
std::vector<int> BestByEnumeration(const std::vector<int>& units, const std::vector<int>& current) {
  const size_t n = units.size();
  std::vector<size_t> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return units[a] > units[b]; });
  auto rank = [&](size_t row, int phase) {
    if (phase == current[row]) return 0;
    return 1 + phase;
  };
  std::vector<int> phases(n, 0), best;
  int64_t bestSpread = 0;
  int bestMoves = 0;
  std::vector<int> bestKey;
  for (;;) {
    const int64_t spread = SpreadOf(units, phases);
    int moves = 0;
    std::vector<int> key;
    for (size_t i = 0; i < n; ++i) moves += phases[i] != current[i];
    for (const size_t row : order) key.push_back(rank(row, phases[row]));
    if (best.empty() || std::tie(spread, moves, key) < std::tie(bestSpread, bestMoves, bestKey)) {
      best = phases;
      bestSpread = spread;
      bestMoves = moves;
      bestKey = key;
    }
    size_t i = 0;
    while (i < n && phases[i] == 2) phases[i++] = 0;
    if (i == n) break;
    ++phases[i];
  }
  return best;
}

TEST(ExtendedBalance, FewestMovedAndTheFixedOrderDecideBetweenEqualUnbalances) {
  std::mt19937 rng(77);
  std::uniform_int_distribution<int> small(1, 12);
  std::uniform_int_distribution<int> phase(-1, 2);
  for (int board = 0; board < 150; ++board) {
    const int n = 3 + board % 6;
    std::vector<int> units(static_cast<size_t>(n)), current(static_cast<size_t>(n));
    for (int& u : units) u = small(rng);
    for (int& p : current) p = phase(rng);
    const ExtendedBalance result = BalanceExtended(Hundredths(units), current, Generous());
    ASSERT_EQ(result.stop, BalanceStop::Finished);
    const std::vector<int> expected = BestByEnumeration(units, current);
    ASSERT_EQ(result.phases, expected) << "board " << board;
    int moves = 0;
    for (size_t i = 0; i < expected.size(); ++i) moves += expected[i] != current[i];
    EXPECT_EQ(result.moved, moves);
  }
}

TEST(ExtendedBalance, MovesOnlyWhatBalancingNeeds) {
  // 12, 3, 3 kW on the phases: one circuit to L2 and one to L3 balance it;
  // the first rows keep L1, and equal circuits move in row order.
  const std::vector<int> current = {0, 0, 0, 0, 1, 2};
  const ExtendedBalance result = BalanceExtended(std::vector<float>(6, 3.0f), current, Generous());
  EXPECT_EQ(result.phases, (std::vector<int>{0, 0, 1, 2, 1, 2}));
  EXPECT_EQ(result.moved, 2);
  EXPECT_EQ(result.unbalance, 0.0);
  // A board already balanced stays as it is; invalid phases count as moved.
  const ExtendedBalance kept = BalanceExtended(std::vector<float>{5, 5, 5}, std::vector<int>{2, -1, 1}, Generous());
  EXPECT_EQ(kept.phases, (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(kept.moved, 1);
}

TEST(ExtendedBalance, EqualLoadsAndZeroTotalsAreAnsweredAndProved) {
  const std::vector<float> equal(60, 2.5f);
  const ExtendedBalance result = BalanceExtended(equal, std::vector<int>(60, 0), Generous());
  EXPECT_TRUE(result.optimal);
  EXPECT_EQ(result.unbalance, 0.0);
  EXPECT_EQ(result.moved, 40);
  const ExtendedBalance odd = BalanceExtended(std::vector<float>(31, 2.5f), std::vector<int>(31, -1), Generous());
  EXPECT_TRUE(odd.optimal);
  EXPECT_DOUBLE_EQ(odd.unbalance, 3.0 / 31);
  const ExtendedBalance zeros = BalanceExtended(std::vector<float>(25, 0.0f), std::vector<int>(25, 1), Generous());
  EXPECT_TRUE(zeros.optimal);
  EXPECT_EQ(zeros.phases, std::vector<int>(25, 1));
  EXPECT_EQ(zeros.moved, 0);
}

TEST(ExtendedBalance, NegativeOrNonFiniteLoadsAreRefusedWithAReason) {
  const ExtendedBalance negative = BalanceExtended(std::vector<float>{1, -2, 3}, std::vector<int>(3, 0), Generous());
  EXPECT_EQ(negative.stop, BalanceStop::Refused);
  EXPECT_FALSE(negative.refusal.empty());
  EXPECT_TRUE(negative.phases.empty());
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(BalanceExtended(std::vector<float>{1, nan, 3}, std::vector<int>(3, 0), Generous()).stop, BalanceStop::Refused);
}

// Sixty circuits of 0.03 kW and one of 0.02: the spread cannot reach the
// bound from the thirds, so only a search through everything proves it.
std::vector<float> BoardThatCannotBeProvedQuickly() {
  std::vector<float> loads(60, 0.03f);
  loads.push_back(0.02f);
  return loads;
}

TEST(ExtendedBalance, TimeLimitKeepsTheBestFoundAndSaysWhatIsProved) {
  const std::vector<float> loads = BoardThatCannotBeProvedQuickly();
  const std::vector<int> current(loads.size(), 0);
  const ExtendedBalance result = BalanceExtended(loads, current, BalanceLimits{0.0, {}});
  EXPECT_EQ(result.stop, BalanceStop::TimeLimit);
  EXPECT_FALSE(result.optimal);
  ASSERT_EQ(result.phases.size(), loads.size());
  for (const int phase : result.phases) EXPECT_TRUE(phase >= 0 && phase <= 2);
  EXPECT_GE(result.unbalance, result.lowerBound);
  int moved = 0;
  for (size_t i = 0; i < loads.size(); ++i) moved += result.phases[i] != current[i];
  EXPECT_EQ(result.moved, moved);
}

TEST(ExtendedBalance, CancelGivesNoAssignment) {
  const std::vector<float> loads = BoardThatCannotBeProvedQuickly();
  int calls = 0;
  const BalanceLimits cancelAtOnce{60.0, [&calls](double share) {
                                     ++calls;
                                     EXPECT_GE(share, 0.0);
                                     return false;
                                   }};
  const ExtendedBalance result = BalanceExtended(loads, std::vector<int>(loads.size(), 0), cancelAtOnce);
  EXPECT_EQ(result.stop, BalanceStop::Cancelled);
  EXPECT_TRUE(result.phases.empty());
  EXPECT_EQ(calls, 1);
}

TEST(ExtendedBalance, BelowABoundMovesTheFewestCircuits) {
  // 6, 5, 4 kW: u = 0.4. Below 0.5 nothing moves; below 0.3 one circuit of
  // 1 kW moves from L1 to L3 (5, 5, 5 would need the same single move).
  const std::vector<float> loads = {5, 1, 5, 4};
  const std::vector<int> current = {0, 0, 1, 2};
  const ExtendedBalance none = BalanceBelow(loads, current, 0.5, Generous());
  EXPECT_TRUE(none.reachesBound);
  EXPECT_EQ(none.moved, 0);
  EXPECT_EQ(none.phases, current);
  const ExtendedBalance one = BalanceBelow(loads, current, 0.3, Generous());
  EXPECT_TRUE(one.reachesBound);
  EXPECT_TRUE(one.optimal);
  EXPECT_EQ(one.moved, 1);
  EXPECT_EQ(one.phases, (std::vector<int>{0, 2, 1, 2}));
  EXPECT_LT(one.unbalance, 0.3);
  // Three equal circuits and a fourth: u never reaches 0.
  const ExtendedBalance never = BalanceBelow(std::vector<float>{2, 2, 2, 2}, std::vector<int>(4, 0), 0.5, Generous());
  EXPECT_FALSE(never.reachesBound);
  EXPECT_EQ(never.stop, BalanceStop::Finished);
  EXPECT_TRUE(never.phases.empty());
}

}  // namespace
