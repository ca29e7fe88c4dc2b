// What the 计算书 says, built from calculations over small workbooks.
#include <gtest/gtest.h>

#include <algorithm>

#include "../calc/workbook_fixture.h"
#include "report/calculation_report.h"

namespace {

const Rows kLibrary = {{"C16", "16"}, {"C32", "32"}, {"C63", "63"}, {"C125", "125"}};

class ReportContentTest : public WorkbookTest {
 protected:
  report::CalculationReport Calculated(const Rows& circuits, const Rows& library = kLibrary) {
    WriteInput(circuits, library);
    EXPECT_TRUE(core.ReadCircuits());
    EXPECT_TRUE(core.Calculate());
    return Report();
  }
  report::CalculationReport Report(std::optional<report::PhaseRecord> balanced = std::nullopt) {
    report::ReportSource source;
    source.workbookName = "电气计算.xls";
    source.calculatedAt = 1700000000;
    source.balanced = std::move(balanced);
    return report::BuildCalculationReport(core, switches, source);
  }
};

bool Contains(const std::vector<std::string>& lines, const std::string& part) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

TEST_F(ReportContentTest, TableIsTheListAsShownAfterTheCalculation) {
  const auto report = Calculated({{"WL1", "L1", "3", "0.8", "0.85", "照明"}, {"WL2", "L2", "0.00", "1", "0.9", ""}});
  EXPECT_EQ(report.title, "配电箱负荷计算书");
  EXPECT_EQ(report.circuits.headers, (std::vector<std::string>{"线路编号", "相别", "设备功率", "需要系数", "功率因数",
                                                               "计算功率", "计算电流", "可选开关", "备注"}));
  ASSERT_EQ(report.circuits.rows.size(), 2u);
  EXPECT_EQ(report.circuits.rows[0], (std::vector<std::string>{"WL1", "L1", "3", "0.8", "0.85", "2.400000",
                                                               "12.834225", "C16;C32;C63;C125;", "照明"}));
  // A cell keeps its text, not the number read from it.
  EXPECT_EQ(report.circuits.rows[1][2], "0.00");
  EXPECT_TRUE(Contains(report.facts, "工作簿：电气计算.xls"));
  EXPECT_TRUE(Contains(report.facts, "功率因数 cosφ：0.5"));
  EXPECT_TRUE(Contains(report.facts, "需要系数 Kx：0.8"));
  EXPECT_TRUE(Contains(report.facts, "计算时间：2023-11-"));
  EXPECT_FALSE(report.balancing);
}

// Phase sums 12, 10 and 8: unbalance 0.4, so three times the largest phase.
TEST_F(ReportContentTest, LargeUnbalanceStatesTheThreeTimesRuleWithItsNumbers) {
  const auto report = Calculated({{"A", "L1", "12", "1", "1"}, {"B", "L2", "10", "1", "1"}, {"C", "L3", "8", "1", "1"}});
  EXPECT_EQ(report.phases.bars[0].valueText, "12");
  EXPECT_EQ(report.phases.bars[1].valueText, "10");
  EXPECT_EQ(report.phases.bars[2].valueText, "8");
  EXPECT_EQ(report.phases.bars[2].label, "L3");
  EXPECT_FLOAT_EQ(report.phases.mean, 10.0f);
  EXPECT_EQ(report.phases.meanText, "平均 10");
  EXPECT_TRUE(Contains(report.phases.notes, "= (12 − 8) × 3 / 30 = 0.4")) << report.phases.notes[1];
  EXPECT_TRUE(Contains(report.phases.notes, "不平衡度 0.4 ≥ 0.15，设备功率取最大相负荷的 3 倍"));
  EXPECT_EQ(report.board.lines, (std::vector<std::string>{
                                    "设备功率 Pe = 3 × 12 = 36 kW",
                                    "计算功率 Pjs = Kx × Pe = 0.8 × 36 = 28.8 kW",
                                    "计算电流 Ijs = Pjs × 1.52 / cosφ = 28.8 × 1.52 / 0.5 = 87.552 A",
                                }));
  // 87.552 A needs 97 A: only the 125 A model.
  EXPECT_TRUE(Contains(report.switches.lines, "= 97 A"));
  EXPECT_TRUE(Contains(report.switches.lines, "可选择开关：C125"));
  EXPECT_TRUE(Contains(report.switches.lines, "选用开关：C125"));
}

TEST_F(ReportContentTest, SmallUnbalanceStatesTheSumRule) {
  const auto report = Calculated({{"A", "L1", "10", "1", "1"}, {"B", "L2", "10", "1", "1"}, {"C", "L3", "9", "1", "1"}});
  EXPECT_TRUE(Contains(report.phases.notes, "< 0.15，设备功率取三相负荷之和"));
  EXPECT_EQ(report.board.lines[0], "设备功率 Pe = 10 + 10 + 9 = 29 kW");
}

// Phases 7, 7 and 6 give exactly 0.15, which the calculation counts as
// large: the report must name the rule the calculation used.
TEST_F(ReportContentTest, UnbalanceAtTheLimitFollowsTheCalculation) {
  const auto report = Calculated({{"A", "L1", "7", "1", "1"}, {"B", "L2", "7", "1", "1"}, {"C", "L3", "6", "1", "1"}});
  EXPECT_EQ(core.m_fEquipPower, 21.0f);
  EXPECT_TRUE(Contains(report.phases.notes, "0.15 ≥ 0.15"));
  EXPECT_EQ(report.board.lines[0], "设备功率 Pe = 3 × 7 = 21 kW");
}

TEST_F(ReportContentTest, BoardWithoutLoadHasNoUnbalanceFormula) {
  const auto report = Calculated({{"A", "L9", "7", "1", "1"}, {"B", "L2", "0", "1", "1"}});
  EXPECT_TRUE(Contains(report.phases.notes, "三相负荷之和为 0"));
  EXPECT_FALSE(Contains(report.phases.notes, "/ 0 ="));
  EXPECT_EQ(report.board.lines[0], "设备功率 Pe = 0 + 0 + 0 = 0 kW");
}

TEST_F(ReportContentTest, SwitchChoiceIsTheUsersOrNone) {
  Calculated({{"A", "L1", "1", "1", "1"}});
  switches.SetCurSel(2);
  EXPECT_TRUE(Contains(Report().switches.lines, "可选择开关：C16、C32、C63、C125"));
  EXPECT_TRUE(Contains(Report().switches.lines, "选用开关：C63"));

  const auto none = Calculated({{"A", "L1", "1", "1", "1"}}, {{"tiny", "1"}});
  EXPECT_TRUE(Contains(none.switches.lines, "可选择开关：无"));
  EXPECT_TRUE(Contains(none.switches.lines, "选用开关：无"));
}

TEST_F(ReportContentTest, BalancedBoardListsPhasesBeforeAndAfter) {
  WriteInput({{"A", "L1", "5", "1", "1"}, {"B", "L1", "5", "1", "1"}, {"C", "L1", "5", "1", "1"}}, kLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.AutoBalance());
  const auto report = Report(report::BalancedPhases(list, core.LastBalance()));
  ASSERT_TRUE(report.balancing);
  EXPECT_EQ(report.balancing->headers, (std::vector<std::string>{"线路编号", "平衡前相别", "平衡后相别"}));
  EXPECT_EQ(report.balancing->rows, (Rows{{"A", "L1", "L3"}, {"B", "L1", "L2"}, {"C", "L1", "L1"}}));
}

TEST_F(ReportContentTest, RefusedBalancingWroteNoPhasesToReport) {
  WriteInput({{"A", "L1", "5", "1", "1"}, {"B", "L1", "5", "1", "1"}}, kLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.AutoBalance());
  EXPECT_FALSE(report::BalancedPhases(list, core.LastBalance()));
}

TEST_F(ReportContentTest, ResultsExistOnlyBetweenACalculationAndTheNextRead) {
  EXPECT_FALSE(report::HasCalculationResults(core));
  WriteInput({{"A", "L1", "5", "1", "1"}}, kLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(report::HasCalculationResults(core));
  ASSERT_TRUE(core.Calculate());
  EXPECT_TRUE(report::HasCalculationResults(core));
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(report::HasCalculationResults(core));
}

// 规范法 states the method, which branch of JGJ 16-2008 §3.5.5 applied with
// its numbers, and every formula with its values (the commentary's example:
// 2 + 0.5 kW single-phase beside a 20 kW three-phase circuit).
TEST_F(ReportContentTest, StandardMethodStatesTheRuleAppliedAndEveryFormula) {
  WriteInput({{"WL1", "L1", "2", "1", "0.8"}, {"WL2", "L2", "0.5", "1", "0.8"}, {"M1", "三相", "20", "1", "0.8"}},
             kLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  core.m_method = CalcMethod::Standard;
  ASSERT_TRUE(core.Calculate());
  const auto report = Report();
  EXPECT_EQ(report.title, "配电箱负荷计算书（规范法）");
  EXPECT_TRUE(Contains(report.facts, "计算方法：规范法（JGJ 16-2008 第3.5.5条）"));
  EXPECT_TRUE(Contains(report.facts, "功率因数 cosφ：0.5（规范法不用）"));
  const std::vector<std::string>& lines = report.board.lines;
  EXPECT_TRUE(Contains(lines, "PA + PB + PC = 2.500 kW ≤ 15% × P3 = 3.000 kW")) << lines[5];
  EXPECT_TRUE(Contains(lines, "P = PA + PB + PC + P3 = 2.500 + 20.000 = 22.500 kW"));
  EXPECT_TRUE(Contains(lines, "Pjs = K∑p × P = 0.90 × 22.500 = 20.250 kW"));
  EXPECT_TRUE(Contains(lines, "Qjs = K∑q × Q = 0.95 × 16.875 = 16.031 kvar"));
  EXPECT_TRUE(Contains(lines, "Sjs = √(Pjs² + Qjs²)"));
  EXPECT_TRUE(Contains(lines, "Ijs = Sjs / (√3 × 0.38)"));
  EXPECT_TRUE(Contains(lines, "Qc = Pjs × (tanφ − tanφ₂)"));
  EXPECT_TRUE(Contains(lines, "按电容器步长 10.0 kvar 取整：Qc = 10.0 kvar"));
  EXPECT_TRUE(Contains(report.phases.notes, "各相负荷 = 单相回路 Pjs 之和 + P3 / 3"));

  // 4 + 2 + 3 kW beside 20 kW: the other branch, three times the largest phase.
  WriteInput({{"A", "L1", "4", "1", "0.8"}, {"B", "L2", "2", "1", "0.8"}, {"C", "L3", "3", "1", "0.8"},
              {"M", "L1L2L3", "20", "1", "0.8"}},
             kLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  const auto large = Report();
  EXPECT_TRUE(Contains(large.board.lines, "9.000 kW > 15% × P3 = 3.000 kW"));
  EXPECT_TRUE(Contains(large.board.lines, "P = 3 × Pmax + P3 = 3 × 4.000 + 20.000 = 32.000 kW"));
}

}  // namespace
