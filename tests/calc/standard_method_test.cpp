// 规范法 and three-phase circuits in both methods: the worked examples of the
// design code and a handbook, and a comparison with a straightforward
// double-precision implementation written here from the formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "calc/circuit.h"
#include "calc/memory_circuit_table.h"
#include "calc/original_method.h"
#include "calc/standard_method.h"
#include "platform/text/encoding.h"

namespace {

struct Row {
  std::string phase;  // UTF-8
  std::string pe, kx, cosPhi;
};

MemoryCircuitTable TableOf(const std::vector<Row>& rows) {
  MemoryCircuitTable table;
  const char* captions[] = {"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"};
  for (int c = 0; c < 6; ++c) table.InsertColumn(c, FromUtf8(captions[c]), 70);
  for (size_t r = 0; r < rows.size(); ++r) {
    const int row = table.InsertItem(static_cast<int>(r), FromUtf8("WL" + std::to_string(r + 1)));
    table.SetItemText(row, 1, FromUtf8(rows[r].phase));
    table.SetItemText(row, 2, FromUtf8(rows[r].pe));
    table.SetItemText(row, 3, FromUtf8(rows[r].kx));
    table.SetItemText(row, 4, FromUtf8(rows[r].cosPhi));
  }
  return table;
}

std::vector<Circuit> CircuitsOf(const std::vector<Row>& rows) { return ReadCircuits(TableOf(rows)); }

const double kSqrt3 = std::sqrt(3.0);

}  // namespace

TEST(PhaseMarks, ThreePhaseAndFixedTextsAreRecognisedAndOthersStayInvalid) {
  const std::vector<Circuit> circuits = CircuitsOf({{"L1L2L3", "1", "1", "1"},
                                                    {"三相", "1", "1", "1"},
                                                    {"L2(固定)", "1", "1", "1"},
                                                    {"L3（固定）", "1", "1", "1"},
                                                    {"L1*", "1", "1", "1"},
                                                    {"L2", "1", "1", "1"},
                                                    {"L4*", "1", "1", "1"},
                                                    {"(固定)", "1", "1", "1"},
                                                    {"l1l2l3", "1", "1", "1"},
                                                    {"L1L2L3*", "1", "1", "1"}});
  EXPECT_EQ(circuits[0].kind, PhaseKind::Three);
  EXPECT_EQ(circuits[1].kind, PhaseKind::Three);
  EXPECT_TRUE(circuits[2].fixed && circuits[2].phase == 1);
  // Longer than the nine bytes a cell is read with, yet recognised whole.
  EXPECT_TRUE(circuits[3].fixed && circuits[3].phase == 2);
  EXPECT_TRUE(circuits[4].fixed && circuits[4].phase == 0);
  EXPECT_TRUE(!circuits[5].fixed && circuits[5].phase == 1 && circuits[5].IsFree());
  EXPECT_EQ(circuits[6].kind, PhaseKind::Invalid);
  EXPECT_EQ(circuits[7].kind, PhaseKind::Invalid);
  EXPECT_EQ(circuits[8].kind, PhaseKind::Invalid);
  EXPECT_EQ(circuits[9].kind, PhaseKind::Three);
  EXPECT_EQ(ToUtf8(circuits[3].phaseText), "L3（固定）");
}

// JGJ 16-2008 §3.5.5 and its commentary: single-phase load at most 15 % of
// the three-phase load is added as it is; above, three times the largest phase.
TEST(StandardMethod, SinglePhaseShareRuleOfJgj16Section355) {
  StandardInputs inputs;
  inputs.compensate = false;
  // 2 + 0.5 = 2.5 kW ≤ 15 % × 20 kW = 3 kW: P = 2 + 0.5 + 20.
  const StandardBoardResult small =
      CalculateStandard(CircuitsOf({{"L1", "2", "1", "0.8"}, {"L2", "0.5", "1", "0.8"}, {"L1L2L3", "20", "1", "0.8"}}), inputs);
  EXPECT_EQ(small.rule, SinglePhaseRule::Sum);
  EXPECT_NEAR(small.totals.p, 2.0 + 0.5 + 20.0, 1e-9);
  // 4 + 2 + 3 = 9 kW > 3 kW: P = 3 × 4 + 20 = 32 kW.
  const StandardBoardResult large = CalculateStandard(
      CircuitsOf({{"L1", "4", "1", "0.8"}, {"L2", "2", "1", "0.8"}, {"L3", "3", "1", "0.8"}, {"三相", "20", "1", "0.8"}}),
      inputs);
  EXPECT_EQ(large.rule, SinglePhaseRule::ThreeTimesMax);
  EXPECT_EQ(large.largestPhase, 0);
  EXPECT_NEAR(large.totals.p, 3 * 4.0 + 20.0, 1e-9);
  // A board without three-phase circuits always takes three times its largest phase.
  const StandardBoardResult single = CalculateStandard(CircuitsOf({{"L2", "1", "1", "1"}}), inputs);
  EXPECT_EQ(single.rule, SinglePhaseRule::ThreeTimesMax);
  EXPECT_NEAR(single.totals.p, 3.0, 1e-9);
}

// The same board by the original method: the motor now counts (32 kW, no
// longer the 12 kW of the single-phase circuits alone).
TEST(OriginalMethod, ThreePhaseMotorAddsAThirdToEachPhaseAndTakesTheBoardPowerFactor) {
  const std::vector<Circuit> circuits =
      CircuitsOf({{"L1", "4", "1", "1"}, {"L2", "2", "1", "1"}, {"L3", "3", "1", "1"}, {"L1L2L3", "20", "0.5", "0.3"}});
  const OriginalBoardResult board = CalculateOriginal(circuits, 0.8f, 1.0f);
  EXPECT_NEAR(board.phaseLoads[0], 4 + 20.0 / 3, 1e-5);
  EXPECT_NEAR(board.equipmentPower, 3 * (4 + 20.0 / 3), 1e-4);  // u = 2 × 3 / 29 ≥ 0.15
  ASSERT_TRUE(board.circuits[3].current.has_value());
  EXPECT_NEAR(*board.circuits[3].current, 10.0 * 1.52 / 0.8, 1e-4);
}

// Current of a three-phase circuit: Ijs = Pjs / (√3 × 0.38 × cos φ); a
// 20 kW motor at cos φ 0.8 draws 37.98 A (JGJ 16-2008 §3.5.5 commentary).
TEST(StandardMethod, ThreePhaseMotorCurrentUsesRootThreeTimesLineVoltage) {
  const StandardCircuitResult motor = CalculateStandardCircuit(CircuitsOf({{"L1L2L3", "20", "1", "0.8"}})[0]);
  const double reference = 20.0 / (kSqrt3 * 0.38 * 0.8);
  EXPECT_NEAR(motor.ijs, reference, 1e-5);  // cos φ is read as a 32-bit value
  EXPECT_NEAR(motor.ijs, 37.98, 0.005);
  EXPECT_NEAR(motor.qjs, 20.0 * 0.75, 1e-6);  // tan φ = 0.6 / 0.8
}

// Handbook example (the design manual's board/busbar worked example):
// ΣPjs 439.0 kW, ΣQjs 314.9 kvar, K∑p 0.9, K∑q 0.95 → 395.1 kW, 299.2 kvar,
// 495.6 kVA, cos φ 0.797, 753.0 A; to cos φ 0.9 needs about 107.8 kvar,
// 110 kvar in 10 kvar steps → cos φ′ 0.902.
TEST(StandardMethod, HandbookBoardWithCompensationInWholeSteps) {
  const StandardTotals t = CalculateStandardTotals(439.0, 314.9, StandardInputs{});
  const double p = 0.9 * 439.0, q = 0.95 * 314.9, s = std::sqrt(p * p + q * q);
  EXPECT_NEAR(t.pjs, p, 1e-9);
  EXPECT_NEAR(t.qjs, q, 1e-9);
  EXPECT_NEAR(t.sjs, s, 1e-9);
  EXPECT_NEAR(t.pjs, 395.1, 0.05);
  EXPECT_NEAR(t.qjs, 299.2, 0.05);
  EXPECT_NEAR(t.sjs, 495.6, 0.05);
  EXPECT_NEAR(t.powerFactor, 0.797, 0.0005);
  EXPECT_NEAR(t.current, 753.0, 0.05);
  const double exact = p * (q / p - std::tan(std::acos(0.9)));
  EXPECT_NEAR(t.compensationExact, exact, 1e-9);
  EXPECT_NEAR(t.compensationExact, 107.8, 0.05);
  EXPECT_EQ(t.compensation, 110.0);
  EXPECT_NEAR(t.powerFactorAfter, p / std::hypot(p, q - 110.0), 1e-12);
  EXPECT_NEAR(t.powerFactorAfter, 0.902, 0.0005);
  EXPECT_NEAR(t.currentAfter, std::hypot(p, q - 110.0) / (kSqrt3 * 0.38), 1e-9);
}

TEST(StandardMethod, CompensationOnlyWhenAskedAndBelowTheTarget) {
  StandardInputs off;
  off.compensate = false;
  const StandardTotals none = CalculateStandardTotals(439.0, 314.9, off);
  EXPECT_FALSE(none.compensated);
  EXPECT_EQ(none.compensation, 0.0);
  EXPECT_EQ(none.currentAfter, none.current);
  const StandardTotals good = CalculateStandardTotals(100.0, 10.0, StandardInputs{});
  EXPECT_FALSE(good.compensated);
  const StandardTotals empty = CalculateStandardTotals(0.0, 0.0, StandardInputs{});
  EXPECT_EQ(empty.powerFactor, 1.0);
  EXPECT_EQ(empty.compensation, 0.0);
  // An exact whole number of steps is not rounded up to the next one.
  StandardInputs step;
  step.bankStep = 0.5;
  const StandardTotals t = CalculateStandardTotals(100.0, 100.0, step);
  EXPECT_EQ(t.compensation, std::ceil(t.compensationExact / 0.5) * 0.5);
}

TEST(StandardMethod, InputsOutsideTheirRangesAreNamed) {
  auto problem = [](double kp, double kq, double pf, double step) {
    return CheckStandardInputs({kp, kq, pf, step, true});
  };
  EXPECT_EQ(problem(0.9, 0.95, 0.9, 10), StandardInputProblem::None);
  EXPECT_EQ(problem(1, 1, 1, 0.001), StandardInputProblem::None);
  EXPECT_EQ(problem(0, 0.95, 0.9, 10), StandardInputProblem::Kp);
  EXPECT_EQ(problem(1.01, 0.95, 0.9, 10), StandardInputProblem::Kp);
  EXPECT_EQ(problem(0.9, -1, 0.9, 10), StandardInputProblem::Kq);
  EXPECT_EQ(problem(0.9, 0.95, 0, 10), StandardInputProblem::TargetPowerFactor);
  EXPECT_EQ(problem(0.9, 0.95, NAN, 10), StandardInputProblem::TargetPowerFactor);
  EXPECT_EQ(problem(0.9, 0.95, 0.9, 0), StandardInputProblem::BankStep);
  EXPECT_EQ(problem(0.9, 0.95, 0.9, INFINITY), StandardInputProblem::BankStep);
  const std::vector<StandardCircuitProblem> circuits =
      CheckStandardCircuits(CircuitsOf({{"L1", "1", "1", "0"}, {"L5", "1", "1", "1"}, {"三相", "1", "1", "1.2"}, {"L2*", "1", "1", "1"}}));
  ASSERT_EQ(circuits.size(), 3u);
  EXPECT_EQ(circuits[0].kind, StandardCircuitProblem::PowerFactorRange);
  EXPECT_EQ(circuits[1].kind, StandardCircuitProblem::InvalidPhase);
  EXPECT_EQ(circuits[2].row, 2);
}

namespace reference {

// Written from the formulas alone, in double precision.
struct Circuit {
  int kind;  // 0..2 a phase, 3 three-phase
  double pe, kx, cosPhi;
};

struct Board {
  double p, q, pjs, qjs, s, cosPhi, current, qc, cosAfter, currentAfter;
  bool sumRule;
  bool nearAnEdge;  // a comparison so close that 32-bit inputs may fall the other way
  std::vector<double> circuitCurrents;
};

Board Standard(const std::vector<Circuit>& circuits, double kp, double kq, double target, double step) {
  double phaseP[3] = {0, 0, 0}, phaseQ[3] = {0, 0, 0}, p3 = 0, q3 = 0;
  Board board{};
  for (const Circuit& c : circuits) {
    const double pjs = c.kx * c.pe;
    const double qjs = pjs * std::tan(std::acos(c.cosPhi));
    if (c.kind == 3) {
      p3 += pjs;
      q3 += qjs;
      board.circuitCurrents.push_back(pjs / (std::sqrt(3.0) * 0.38 * c.cosPhi));
    } else {
      phaseP[c.kind] += pjs;
      phaseQ[c.kind] += qjs;
      board.circuitCurrents.push_back(pjs / (0.22 * c.cosPhi));
    }
  }
  const double single = phaseP[0] + phaseP[1] + phaseP[2];
  board.sumRule = single <= 0.15 * p3;
  board.nearAnEdge = std::abs(single - 0.15 * p3) < 1e-6;
  int max = 0;
  for (int k = 1; k < 3; ++k)
    if (phaseP[k] > phaseP[max]) max = k;
  board.p = board.sumRule ? single + p3 : 3 * phaseP[max] + p3;
  board.q = board.sumRule ? phaseQ[0] + phaseQ[1] + phaseQ[2] + q3 : 3 * phaseQ[max] + q3;
  board.pjs = kp * board.p;
  board.qjs = kq * board.q;
  board.s = std::sqrt(board.pjs * board.pjs + board.qjs * board.qjs);
  board.cosPhi = board.pjs / board.s;
  board.current = board.s / (std::sqrt(3.0) * 0.38);
  board.qc = 0;
  if (board.cosPhi < target) {
    const double needed = board.pjs * (std::tan(std::acos(board.cosPhi)) - std::tan(std::acos(target)));
    board.qc = std::ceil(needed / step - 1e-9) * step;
    board.nearAnEdge |= std::abs(needed / step - std::round(needed / step)) < 1e-6;
  }
  board.nearAnEdge |= std::abs(board.cosPhi - target) < 1e-6;
  const double sAfter = std::sqrt(board.pjs * board.pjs + (board.qjs - board.qc) * (board.qjs - board.qc));
  board.cosAfter = board.pjs / sAfter;
  board.currentAfter = sAfter / (std::sqrt(3.0) * 0.38);
  return board;
}

struct Original {
  double phase[3];
  double unbalance, equipment, calculated, current;
};

Original OriginalBoard(const std::vector<Circuit>& circuits, double boardPf, double demand) {
  Original board{{0, 0, 0}, 0, 0, 0, 0};
  for (const Circuit& c : circuits)
    for (int k = 0; k < 3; ++k) board.phase[k] += c.kind == 3 ? c.pe / 3 : (c.kind == k ? c.pe : 0);
  const double max = std::max({board.phase[0], board.phase[1], board.phase[2]});
  const double min = std::min({board.phase[0], board.phase[1], board.phase[2]});
  const double total = board.phase[0] + board.phase[1] + board.phase[2];
  board.unbalance = (max - min) * 3 / total;
  board.equipment = board.unbalance >= 0.15 ? 3 * max : total;
  board.calculated = demand * board.equipment;
  board.current = board.calculated * 1.52 / boardPf;
  return board;
}

}  // namespace reference

// A few hundred random boards mixing single-phase, three-phase and fixed
// circuits, read from list texts as the program reads them.
TEST(StandardMethod, AgreesWithAStraightforwardImplementationOnRandomBoards) {
  std::mt19937 random(20250);
  const char* singleTexts[3][4] = {{"L1", "L1*", "L1(固定)", "L1（固定）"},
                                   {"L2", "L2*", "L2(固定)", "L2（固定）"},
                                   {"L3", "L3*", "L3(固定)", "L3（固定）"}};
  for (int board = 0; board < 400; ++board) {
    const int count = 1 + static_cast<int>(random() % 12);
    std::vector<Row> rows;
    std::vector<reference::Circuit> circuits;
    for (int i = 0; i < count; ++i) {
      const int kind = static_cast<int>(random() % 4);
      const double pe = static_cast<int>(random() % 3000 + 1) / 100.0;
      const double kx = static_cast<int>(random() % 100 + 1) / 100.0;
      const double cosPhi = static_cast<int>(random() % 100 + 1) / 100.0;
      char text[3][32];
      std::snprintf(text[0], sizeof text[0], "%.2f", pe);
      std::snprintf(text[1], sizeof text[1], "%.2f", kx);
      std::snprintf(text[2], sizeof text[2], "%.2f", cosPhi);
      const std::string phase = kind == 3 ? (random() % 2 ? "L1L2L3" : "三相") : singleTexts[kind][random() % 4];
      rows.push_back({phase, text[0], text[1], text[2]});
      circuits.push_back({kind, pe, kx, cosPhi});
    }
    const double kp = (50 + random() % 51) / 100.0, kq = (50 + random() % 51) / 100.0;
    const double target = (80 + random() % 20) / 100.0, step = 1 + random() % 20;
    const reference::Board expected = reference::Standard(circuits, kp, kq, target, step);
    const StandardBoardResult actual = CalculateStandard(CircuitsOf(rows), {kp, kq, target, step, true});
    const double tolerance = 1e-6 * std::max(1.0, expected.s);
    SCOPED_TRACE("board " + std::to_string(board));
    if (expected.nearAnEdge) continue;
    ASSERT_EQ(actual.rule == SinglePhaseRule::Sum, expected.sumRule);
    EXPECT_NEAR(actual.totals.p, expected.p, tolerance);
    EXPECT_NEAR(actual.totals.q, expected.q, tolerance);
    EXPECT_NEAR(actual.totals.sjs, expected.s, tolerance);
    EXPECT_NEAR(actual.totals.powerFactor, expected.cosPhi, 1e-6);
    EXPECT_NEAR(actual.totals.current, expected.current, 1e-5 * expected.current);
    EXPECT_NEAR(actual.totals.compensation, expected.qc, 1e-9);
    EXPECT_NEAR(actual.totals.powerFactorAfter, expected.cosAfter, 1e-6);
    EXPECT_NEAR(actual.totals.currentAfter, expected.currentAfter, 1e-5 * expected.currentAfter);
    for (int i = 0; i < count; ++i)
      EXPECT_NEAR(actual.circuits[i].ijs, expected.circuitCurrents[i], 1e-5 * expected.circuitCurrents[i]);

    const double boardPf = (20 + random() % 81) / 100.0, demand = (50 + random() % 51) / 100.0;
    const reference::Original original = reference::OriginalBoard(circuits, boardPf, demand);
    const OriginalBoardResult got = CalculateOriginal(CircuitsOf(rows), static_cast<float>(boardPf), static_cast<float>(demand));
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(got.phaseLoads[k], original.phase[k], 1e-5 * std::max(1.0, original.phase[k]));
    EXPECT_NEAR(got.unbalance, original.unbalance, 1e-5);
    if (std::abs(original.unbalance - 0.15) < 1e-4) continue;  // the branch may fall either way in 32 bits
    EXPECT_NEAR(got.equipmentPower, original.equipment, 1e-5 * original.equipment);
    EXPECT_NEAR(got.current, original.current, 1e-5 * original.current);
  }
}
