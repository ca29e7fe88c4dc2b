#include <gtest/gtest.h>

#include "workbook_fixture.h"

namespace {

// Circuits read on `phase` with the given powers.
Rows Board(const std::vector<std::string>& powers, const std::string& phase = "L1") {
  Rows rows;
  for (size_t i = 0; i < powers.size(); ++i)
    rows.push_back({"WL" + std::to_string(i + 1), phase, powers[i], "1", "0.9", ""});
  return rows;
}

std::vector<std::string> RandomPowers(int circuits, unsigned seed) {
  std::vector<std::string> powers;
  unsigned state = seed;
  for (int i = 0; i < circuits; ++i) {
    state = state * 1103515245u + 12345u;
    const unsigned hundredths = 10 + (state >> 8) % 991;
    powers.push_back(std::to_string(hundredths / 100) + "." + std::to_string(hundredths / 10 % 10) +
                     std::to_string(hundredths % 10));
  }
  return powers;
}

std::vector<std::string> Phases(const CircuitTable& list) {
  std::vector<std::string> phases;
  for (int row = 0; row < list.GetItemCount(); ++row) phases.push_back(ToUtf8(list.GetItemText(row, 1)));
  return phases;
}

class ExtendedAutoBalance : public WorkbookTest {};

TEST_F(ExtendedAutoBalance, TwentyCircuitsAskFirstAndNoLeavesTheBoardAsItWas) {
  WriteInput(Board(RandomPowers(20, 1)), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.AutoBalance());
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(host.questions[0].rfind("目前的自动平衡计算的回路数不能超过19路\n\n是否用扩展方法", 0), 0u);
  EXPECT_EQ(Phases(list), std::vector<std::string>(20, "L1"));
  EXPECT_EQ(list.GetColumnCount(), 6);
  EXPECT_EQ(core.LastBalance().method, BalanceMethod::None);
}

TEST_F(ExtendedAutoBalance, YesBalancesProvesAndCalculates) {
  WriteInput(Board(RandomPowers(40, 2)), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  host.answerYes = true;
  ASSERT_TRUE(core.AutoBalance());
  const BalanceOutcome& outcome = core.LastBalance();
  EXPECT_EQ(outcome.method, BalanceMethod::Extended);
  EXPECT_TRUE(outcome.applied);
  EXPECT_TRUE(outcome.optimal);
  EXPECT_EQ(outcome.phasesBefore, std::vector<CString>(40, CString("L1")));
  ASSERT_EQ(outcome.phasesAfter.size(), 40u);
  int moved = 0;
  for (int row = 0; row < 40; ++row) {
    EXPECT_EQ(list.GetItemText(row, 1), outcome.phasesAfter[static_cast<size_t>(row)]);
    moved += outcome.phasesAfter[static_cast<size_t>(row)] != CString("L1");
  }
  EXPECT_EQ(outcome.moved, moved);
  EXPECT_LT(core.m_fUnbalance, 0.001f);  // forty circuits of 0.01 kW steps balance to the hundredth
  EXPECT_EQ(list.GetColumnCount(), 9);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.waitDepth, 0);
}

TEST_F(ExtendedAutoBalance, WithoutAskingAndUpToTwoHundredThenRefusedNamingTwoHundred) {
  WriteInput(Board(RandomPowers(200, 3), "L2"), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  BalanceSettings settings;
  settings.extendedWithoutAsking = true;
  EXPECT_TRUE(core.AutoBalance(settings));
  EXPECT_TRUE(host.questions.empty());
  EXPECT_TRUE(core.LastBalance().applied);

  WriteInput(Board(RandomPowers(201, 4)), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  host.messages.clear();
  EXPECT_FALSE(core.AutoBalance(settings));
  EXPECT_EQ(host.messages, std::vector<std::string>{"目前的自动平衡计算的回路数不能超过200路"});
  EXPECT_EQ(Phases(list), std::vector<std::string>(201, "L1"));
}

TEST_F(ExtendedAutoBalance, CancelLeavesTheBoardUnchangedAndSaysSo) {
  // Sixty equal circuits and one of two thirds their power: no split reaches
  // the bound from the thirds, so the search runs until it is stopped.
  std::vector<std::string> powers(60, "0.03");
  powers.push_back("0.02");
  WriteInput(Board(powers, "L3"), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  host.cancelAtReport = 1;
  BalanceSettings settings;
  settings.extendedWithoutAsking = true;
  settings.timeLimitSeconds = 600;
  EXPECT_FALSE(core.AutoBalance(settings));
  EXPECT_TRUE(core.LastBalance().cancelled);
  EXPECT_FALSE(core.LastBalance().applied);
  EXPECT_EQ(Phases(list), std::vector<std::string>(61, "L3"));
  EXPECT_EQ(host.messages, std::vector<std::string>{"自动平衡计算已取消,各回路的相别没有改变"});
  EXPECT_EQ(host.waitDepth, 0);
}

TEST_F(ExtendedAutoBalance, TimeLimitKeepsTheBestFoundAndReportsTheLowerBound) {
  std::vector<std::string> powers(60, "0.03");
  powers.push_back("0.02");
  WriteInput(Board(powers), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  BalanceSettings settings;
  settings.extendedWithoutAsking = true;
  settings.timeLimitSeconds = 0;
  EXPECT_TRUE(core.AutoBalance(settings));
  const BalanceOutcome& outcome = core.LastBalance();
  EXPECT_TRUE(outcome.applied);
  EXPECT_FALSE(outcome.optimal);
  EXPECT_LE(outcome.lowerBound, outcome.unbalance);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("在时限内未能证明结果最优", 0), 0u);
}

TEST_F(ExtendedAutoBalance, BelowABoundMovesTheFewestAndSaysWhenOutOfReach) {
  // L1 6 kW, L2 5 kW, L3 4 kW: u = 0.4.
  WriteInput({{"WL1", "L1", "5", "1", "0.9", ""},
              {"WL2", "L1", "1", "1", "0.9", ""},
              {"WL3", "L2", "5", "1", "0.9", ""},
              {"WL4", "L3", "4", "1", "0.9", ""}},
             kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  BalanceSettings settings;
  settings.below = 0.15;
  ASSERT_TRUE(core.AutoBalance(settings));
  EXPECT_EQ(Phases(list), (std::vector<std::string>{"L1", "L3", "L2", "L3"}));
  EXPECT_EQ(core.LastBalance().moved, 1);
  EXPECT_EQ(core.m_fUnbalance, 0.0f);

  WriteInput(Board({"2", "2", "2", "2"}), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.AutoBalance(settings));
  EXPECT_FALSE(core.LastBalance().reachesBound);
  EXPECT_EQ(Phases(list), std::vector<std::string>(4, "L1"));
  EXPECT_EQ(host.messages.back(), "任何相别分配的不平衡度都不能低于0.15,各回路的相别没有改变");
}

TEST_F(ExtendedAutoBalance, NegativePowersAreRefusedBeyondNineteenCircuits) {
  std::vector<std::string> powers = RandomPowers(25, 5);
  powers[3] = "-1";
  WriteInput(Board(powers), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  host.answerYes = true;
  EXPECT_FALSE(core.AutoBalance());
  EXPECT_EQ(Phases(list), std::vector<std::string>(25, "L1"));
  ASSERT_EQ(host.messages.size(), 1u);
  // Named with the other nonsense before anything is balanced.
  EXPECT_EQ(host.messages[0].rfind("以下1处回路数据不合法", 0), 0u) << host.messages[0];
  EXPECT_NE(host.messages[0].find("的设备功率:“-1”"), std::string::npos) << host.messages[0];
}

}  // namespace
