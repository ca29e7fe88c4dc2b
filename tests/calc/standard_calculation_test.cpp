// 计算, 自动平衡 and 保存 with three-phase and fixed circuits and under 规范法,
// through the same core the dialog and the command line use.
#include <gtest/gtest.h>

#include <cmath>

#include "workbook_fixture.h"

namespace {

class BoardsAsDrawn : public WorkbookTest {};

// A single-phase board with a 20 kW motor (the design code's example): the
// motor was refused before and the board showed 12 kW.
const Rows kMotorBoard = {{"WL1", "L1", "4", "1", "1"},
                          {"WL2", "L2", "2", "1", "1"},
                          {"WL3", "L3", "3", "1", "1"},
                          {"M1", "L1L2L3", "20", "1", "0.8", "电动机"}};

}  // namespace

TEST_F(BoardsAsDrawn, OriginalMethodCountsTheMotorOnEveryPhase) {
  WriteInput(kMotorBoard, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  core.m_fPowerFactor = 0.8f;
  core.m_fDemandCoef = 1.0f;
  ASSERT_TRUE(core.Calculate());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FLOAT_EQ(core.m_fEquipPower, static_cast<float>(3 * (4 + 20.0 / 3)));
  EXPECT_EQ(Cell(3, 6), "38.000000");  // 20 × 1.52 / 0.8
  EXPECT_EQ(Cell(3, 1), "L1L2L3");
}

TEST_F(BoardsAsDrawn, StandardMethodFillsEveryRowWithItsOwnCurrentAndKeepsTheResults) {
  WriteInput(kMotorBoard, {{"C16", "16"}, {"C63", "63"}, {"NSX100", "100"}});
  ASSERT_TRUE(core.ReadCircuits());
  core.m_method = CalcMethod::Standard;
  ASSERT_TRUE(core.Calculate());
  EXPECT_TRUE(host.messages.empty());
  ASSERT_TRUE(core.LastStandard().has_value());
  const StandardBoardResult& board = *core.LastStandard();
  EXPECT_EQ(board.rule, SinglePhaseRule::ThreeTimesMax);
  EXPECT_NEAR(board.totals.p, 32.0, 1e-9);
  // Each row's 计算电流 is its Ijs.
  EXPECT_EQ(Cell(0, 6), "18.181818");  // 4 / 0.22
  EXPECT_NEAR(std::stod(Cell(3, 6)), 20 / (std::sqrt(3.0) * 0.38 * 0.8), 1e-5);
  EXPECT_FLOAT_EQ(core.m_fCurrent, static_cast<float>(board.totals.current));
  EXPECT_FLOAT_EQ(core.m_fCalcPower, static_cast<float>(0.9 * 32));

  const std::string out = PathIn("规范法.xls");
  ASSERT_TRUE(core.SaveResults(Cp936(out)));
  const NamedSheets sheets = ReadBack(out);
  ASSERT_EQ(sheets.size(), 3u);
  EXPECT_EQ(sheets[2].first, "规范法计算结果");
  EXPECT_EQ(sheets[2].second[1], (std::vector<std::string>{"计算方法", "规范法"}));
  EXPECT_EQ(sheets[1].first, "总回路参数计算结果");

  // Back to the original method: no 规范法 figures and no third sheet.
  core.m_method = CalcMethod::Original;
  ASSERT_TRUE(core.Calculate());
  EXPECT_FALSE(core.LastStandard().has_value());
  ASSERT_TRUE(core.SaveResults(Cp936(out)));
  EXPECT_EQ(ReadBack(out).size(), 2u);
}

TEST_F(BoardsAsDrawn, StandardMethodRefusesBadInputsAndNamesEveryBadCircuit) {
  WriteInput({{"WL1", "L1", "1", "1", "0"}, {"WL2", "L7", "1", "1", "1"}, {"WL3", "L2", "1", "1", "1"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  core.m_method = CalcMethod::Standard;
  EXPECT_FALSE(core.Calculate());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("以下2处回路数据不合法", 0), 0u) << host.messages[0];
  EXPECT_NE(host.messages[0].find("相别须为L1、L2、L3、L1L2L3或三相"), std::string::npos);
  EXPECT_NE(host.messages[0].find("回路 WL1 的功率因数:“0”"), std::string::npos);
  EXPECT_NE(host.messages[0].find("回路 WL2 的相别:“L7”"), std::string::npos);
  EXPECT_EQ(host.messages[0].find("WL3"), std::string::npos);
  EXPECT_EQ(Headers().size(), 6u);  // nothing was written
  host.messages.clear();
  core.m_standardInputs.kq = 1.5;
  EXPECT_FALSE(core.Calculate());
  EXPECT_EQ(host.messages, std::vector<std::string>{"无功同时系数 K∑q 必须大于0且不大于1"});
}

TEST_F(BoardsAsDrawn, BalancingMovesOnlyFreeCircuitsAndKeepsTheMarks) {
  WriteInput({{"WL1", "L1(固定)", "6", "1", "1"},
              {"WL2", "L1", "3", "1", "1"},
              {"WL3", "L1", "2", "1", "1"},
              {"WL4", "L1", "1", "1", "1"},
              {"WL5", "L1", "3", "1", "1"},
              {"M1", "三相", "9", "1", "1"}},
             kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.AutoBalance());
  EXPECT_EQ(Cell(0, 1), "L1(固定)");
  EXPECT_EQ(Cell(5, 1), "三相");
  for (int row = 1; row <= 4; ++row) EXPECT_NE(Cell(row, 1), "L1") << row;
  // L1 keeps 6 + 3; the free 9 kW split 5 / 4 over L2 and L3.
  EXPECT_FLOAT_EQ(core.m_fL1, 9.0f);
  EXPECT_FLOAT_EQ(std::max(core.m_fL2, core.m_fL3), 8.0f);
  EXPECT_EQ(ToUtf8(core.LastBalance().phasesAfter[0]), "L1(固定)");
  EXPECT_EQ(core.LastBalance().moved, 4);

  // A bound for the fewest moves is not offered around unmovable circuits.
  host.messages.clear();
  BalanceSettings below;
  below.below = 0.15;
  EXPECT_FALSE(core.AutoBalance(below));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("有固定相别或三相回路时"), std::string::npos);
}

TEST_F(BoardsAsDrawn, AllFixedBoardIsLeftAsItIsWithAMessage) {
  WriteInput({{"WL1", "L1*", "1", "1", "1"}, {"WL2", "L2（固定）", "1", "1", "1"}, {"M1", "L1L2L3", "3", "1", "1"}},
             kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_TRUE(core.AutoBalance());
  EXPECT_EQ(host.messages, std::vector<std::string>{"所有回路的相别都已固定或为三相,不需要进行自动平衡计算"});
  EXPECT_FALSE(core.LastBalance().applied);
  EXPECT_EQ(Cell(1, 1), "L2（固定）");
}

TEST_F(BoardsAsDrawn, LimitsCountTheFreeCircuits) {
  Rows rows = {{"WL1", "L1", "1", "1", "1"}, {"WL2", "L2", "1", "1", "1"}};
  for (int i = 0; i < 25; ++i) rows.push_back({"F" + std::to_string(i), "L3*", "1", "1", "1"});
  WriteInput(rows, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.AutoBalance());
  EXPECT_EQ(host.messages, std::vector<std::string>{"回路数小于3,不需要进行自动平衡计算"});
}

// The circuit checks before 计算 take every phase text a designer may draw:
// three-phase and fixed circuits are no nonsense under either method.
TEST_F(BoardsAsDrawn, ChecksBeforeCalculatingAcceptEveryPhaseTextOfADrawnBoard) {
  WriteInput({{"WL1", "L1L2L3", "3", "1", "0.8"},
              {"WL2", "三相", "3", "1", "0.8"},
              {"WL3", "L2(固定)", "1", "1", "1"},
              {"WL4", "L2（固定）", "1", "1", "1"},
              {"WL5", "L3*", "1", "1", "1"},
              {"WL6", "L1", "1", "1", "1"}},
             kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  for (const CalcMethod method : {CalcMethod::Original, CalcMethod::Standard}) {
    core.m_method = method;
    EXPECT_TRUE(core.Calculate());
    EXPECT_TRUE(host.messages.empty()) << host.messages.front();
    EXPECT_TRUE(core.ResultsCurrent());
  }
  EXPECT_FLOAT_EQ(core.m_fL2, 4.0f);  // 规范法: Pjs of WL3 and WL4, and P3/3
}
