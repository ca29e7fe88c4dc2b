// Balancing with circuits that cannot move: the search against every
// assignment of the free circuits, and the fewest-moves option against the
// default.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "calc/extended_balance.h"
#include "calc/fixed_load_balance.h"
#include "calc/phase_balancing.h"

namespace {

struct Board {
  std::vector<float> free;
  std::vector<int> current;
  std::vector<float> three;
  std::vector<float> fixed;
  std::vector<int> fixedPhases;
};

int Moves(const std::vector<int>& phases, const std::vector<int>& current) {
  int moved = 0;
  for (size_t i = 0; i < phases.size(); ++i) moved += phases[i] != current[i];
  return moved;
}

// Every assignment in counter order from 0; loads are quarters of a kW (and
// three-phase loads multiples of 3/4), so every sum here is exact in double.
std::vector<int> Enumerate(const Board& board, bool fewestMoves) {
  double start[3] = {0, 0, 0};
  for (size_t i = 0; i < board.fixed.size(); ++i) start[board.fixedPhases[i]] += board.fixed[i];
  for (const float load : board.three)
    for (double& phase : start) phase += load / 3.0;
  const size_t n = board.free.size();
  size_t count = 1;
  for (size_t i = 0; i < n; ++i) count *= 3;
  std::vector<int> best, phases(n);
  double bestSpread = 0;
  int bestMoves = 0;
  for (size_t code = 0; code < count; ++code) {
    size_t rest = code;
    double sums[3] = {start[0], start[1], start[2]};
    for (size_t i = 0; i < n; ++i, rest /= 3) {
      phases[i] = static_cast<int>(rest % 3);
      sums[phases[i]] += board.free[i];
    }
    const double spread = std::max({sums[0], sums[1], sums[2]}) - std::min({sums[0], sums[1], sums[2]});
    const int moves = Moves(phases, board.current);
    if (best.empty() || spread < bestSpread || (fewestMoves && spread == bestSpread && moves < bestMoves)) {
      best = phases;
      bestSpread = spread;
      bestMoves = moves;
    }
  }
  return best;
}

Board RandomBoard(std::mt19937& random, int freeCount) {
  Board board;
  for (int i = 0; i < freeCount; ++i) {
    board.free.push_back(static_cast<float>(random() % 40 + 1) / 4.0f);
    board.current.push_back(static_cast<int>(random() % 4) - 1);
  }
  for (int i = static_cast<int>(random() % 3); i > 0; --i) board.three.push_back(static_cast<float>(random() % 20 + 1) * 0.75f);
  for (int i = static_cast<int>(random() % 4); i > 0; --i) {
    board.fixed.push_back(static_cast<float>(random() % 40 + 1) / 4.0f);
    board.fixedPhases.push_back(static_cast<int>(random() % 3));
  }
  return board;
}

ExtendedBalance Balance(const Board& board, bool fewestMoves) {
  const UnmovableLoads unmovable{board.three, board.fixed, board.fixedPhases};
  return BalanceAroundUnmovable(board.free, board.current, unmovable, fewestMoves, BalanceLimits{60.0, {}});
}

}  // namespace

TEST(FixedLoadBalance, EqualsEnumeratingEveryAssignmentOfTheFreeCircuits) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 300; ++trial) {
    const Board board = RandomBoard(random, 1 + trial % 8);
    for (const bool fewest : {false, true}) {
      SCOPED_TRACE("trial " + std::to_string(trial) + (fewest ? " fewest moves" : ""));
      const ExtendedBalance result = Balance(board, fewest);
      ASSERT_EQ(result.stop, BalanceStop::Finished);
      EXPECT_TRUE(result.optimal);
      EXPECT_EQ(result.phases, Enumerate(board, fewest));
      EXPECT_EQ(result.moved, Moves(result.phases, board.current));
    }
  }
}

// Free loads in steps of 1.5 kW around fixed loads in quarters: the phases'
// fixed parts differ modulo the step, which the search's bound rounds by.
TEST(FixedLoadBalance, EqualsEnumeratingWhenTheFreeLoadsShareAStep) {
  std::mt19937 random(13);
  for (int trial = 0; trial < 150; ++trial) {
    Board board = RandomBoard(random, 2 + trial % 7);
    for (float& load : board.free) load = 1.5f * std::ceil(load / 2.0f);
    if (board.fixed.empty()) {
      board.fixed = {0.25f, 1.0f};
      board.fixedPhases = {trial % 3, (trial + 1) % 3};
    }
    for (const bool fewest : {false, true}) {
      SCOPED_TRACE("trial " + std::to_string(trial) + (fewest ? " fewest moves" : ""));
      const ExtendedBalance result = Balance(board, fewest);
      ASSERT_EQ(result.stop, BalanceStop::Finished);
      EXPECT_EQ(result.phases, Enumerate(board, fewest));
    }
  }
}

TEST(FixedLoadBalance, FewestMovesNeverMovesMoreThanTheDefault) {
  std::mt19937 random(11);
  for (int trial = 0; trial < 200; ++trial) {
    const Board board = RandomBoard(random, 3 + trial % 12);
    const ExtendedBalance plain = Balance(board, false);
    const ExtendedBalance fewest = Balance(board, true);
    EXPECT_EQ(fewest.unbalance, plain.unbalance);
    EXPECT_LE(fewest.moved, plain.moved) << "trial " << trial;
  }
  // Without unmovable circuits the option takes the extended method's second
  // search in place of the exhaustive search's answer.
  for (int trial = 0; trial < 100; ++trial) {
    const Board board = RandomBoard(random, 3 + trial % 10);
    const std::vector<int> exhaustive = BalancePhases(board.free);
    const ExtendedBalance fewest = BalanceExtended(board.free, board.current, BalanceLimits{60.0, {}});
    EXPECT_LE(fewest.moved, Moves(exhaustive, board.current)) << "trial " << trial;
  }
}

TEST(FixedLoadBalance, RefusesNegativeLoadsAndReportsTheUnbalanceOfTheWholeBoard) {
  const std::vector<float> free = {1.0f, 1.0f, -1.0f};
  const std::vector<int> current = {0, 0, 0};
  EXPECT_EQ(BalanceAroundUnmovable(free, current, {}, false, {}).stop, BalanceStop::Refused);
  // 6 kW fixed on L1 against 9 free kW: L1 cannot fall below 6, so the best
  // leaves L1 alone and splits 5 / 4: u = (6 − 4) × 3 / 15.
  const std::vector<float> loads = {3.0f, 2.0f, 1.0f, 3.0f};
  const std::vector<float> fixed = {6.0f};
  const std::vector<int> fixedPhase = {0};
  const ExtendedBalance result =
      BalanceAroundUnmovable(loads, std::vector<int>{0, 0, 0, 0}, {{}, fixed, fixedPhase}, false, {});
  EXPECT_DOUBLE_EQ(result.unbalance, 2.0 * 3 / 15);
  EXPECT_EQ(std::count(result.phases.begin(), result.phases.end(), 0), 0);
}

// Beyond 19 free circuits the fewest moves are searched by a budget of
// moves that grows by one, each budget bounded by what so few moves can
// still level: boards whose smallest spread is proved finish well within
// the limit and move no more than the default does.
TEST(FixedLoadBalance, FewestMovesBeyondNineteenFreeCircuitsFinishes) {
  std::mt19937 random(23);
  int finished = 0;
  for (int trial = 0; trial < 12; ++trial) {
    Board board = RandomBoard(random, 20 + trial * 5);
    // Whole kilowatts everywhere, so that the spread meets its bound and is proved at once.
    for (std::vector<float>* loads : {&board.free, &board.fixed})
      for (float& load : *loads) load = std::ceil(load);
    board.fixed.push_back(7.0f);
    board.fixedPhases.push_back(trial % 3);
    for (float& load : board.three) load = 3.0f * std::ceil(load);
    const ExtendedBalance plain = Balance(board, false);
    if (plain.stop != BalanceStop::Finished) continue;
    ++finished;
    const ExtendedBalance fewest = Balance(board, true);
    SCOPED_TRACE("trial " + std::to_string(trial));
    ASSERT_EQ(fewest.stop, BalanceStop::Finished);
    EXPECT_TRUE(fewest.optimal);
    EXPECT_EQ(fewest.unbalance, plain.unbalance);
    EXPECT_LE(fewest.moved, plain.moved);
    EXPECT_EQ(fewest.moved, Moves(fewest.phases, board.current));
  }
  EXPECT_GE(finished, 6);
}
