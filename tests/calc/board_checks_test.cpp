// The circuits' numbers checked before 计算, the state that says whether
// results belong to the list, what a balance moved, and the time-limit
// message that must show its two numbers apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/balance_moves.h"
#include "calc/board_state.h"
#include "calc/calc_texts.h"
#include "calc/circuit_validation.h"
#include "calc/memory_circuit_table.h"
#include "platform/crt/crt.h"
#include "platform/text/encoding.h"

namespace {

MemoryCircuitTable Board(const std::vector<std::vector<std::string>>& rows) {
  MemoryCircuitTable table;
  for (int column = 0; column < 6; ++column) table.InsertColumn(column, "c", 70);
  for (const auto& cells : rows) {
    const int row = table.InsertItem(table.GetItemCount(), FromUtf8(cells[0]));
    for (size_t column = 0; column < cells.size(); ++column)
      table.SetItemText(row, static_cast<int>(column), FromUtf8(cells[column]));
  }
  return table;
}

std::vector<std::string> Lines(const std::vector<CircuitProblem>& problems) {
  std::vector<std::string> lines;
  for (const CircuitProblem& problem : problems) lines.push_back(ToUtf8(CircuitProblemLine(problem)));
  return lines;
}

}  // namespace

TEST(WholeDecimalNumber, IsWhatTheRuntimeReadsAndNothingAfterIt) {
  for (const char* number : {"1", " 2.5 ", "-0", "+.5", "1e3", "1.5E-2", "2d1", "7."})
    EXPECT_TRUE(crt::IsWholeDecimalNumber(number)) << number;
  for (const char* text : {"", " ", "abc", "1,5", "1e", "0x10", "inf", "nan", "3kW", ".", "-", "1 2"})
    EXPECT_FALSE(crt::IsWholeDecimalNumber(text)) << text;
  // atof itself reads as before: a prefix, and 0 for no number.
  EXPECT_DOUBLE_EQ(crt::atof("3kW"), 3.0);
  EXPECT_DOUBLE_EQ(crt::atof("1e"), 1.0);
  EXPECT_DOUBLE_EQ(crt::atof("abc"), 0.0);
}

TEST(CircuitProblems, NameEachBadCellByCircuitColumnAndText) {
  const MemoryCircuitTable board = Board({
      {"WL1", "L1", "2", "0.8", "0.9"},
      {"WL2", "L2", "abc", "x", "0.9"},
      {"WL3", "L3", "-3", "0", "1.01"},
      {"", "L1", "1e39", "1", "1"},
      {"WL5", "L1", "0", "1", "0.01"},  // 0 kW and 0.01 are numbers in range here
  });
  EXPECT_EQ(Lines(FindCircuitProblems(board)),
            (std::vector<std::string>{"回路 WL2 的设备功率:“abc”", "回路 WL2 的需要系数:“x”",
                                      "回路 WL3 的设备功率:“-3”", "回路 WL3 的需要系数:“0”",
                                      "回路 WL3 的功率因数:“1.01”", "列表第4行的回路 的设备功率:“1e39”"}));
}

TEST(CircuitProblems, TheCellIsJudgedAsTheCalculationCutsIt) {
  // The calculation reads 9 bytes: "1.0000000" of "1.00000001kW" is a number.
  const MemoryCircuitTable board = Board({{"WL1", "L1", "1.00000001kW", "0.8", "0.9"}});
  EXPECT_TRUE(FindCircuitProblems(board).empty());
}

TEST(CircuitProblems, TheMessageShowsTheFirstThirtyAndCountsTheRest) {
  std::vector<std::vector<std::string>> rows;
  for (int i = 0; i < 40; ++i) rows.push_back({"W" + std::to_string(i), "L1", "?", "1", "1"});
  const std::string text = ToUtf8(CircuitProblemsMessage(FindCircuitProblems(Board(rows))));
  EXPECT_EQ(text.rfind("以下40处", 0), 0u);
  EXPECT_NE(text.find("回路 W29 "), std::string::npos);
  EXPECT_EQ(text.find("回路 W30 "), std::string::npos);
  EXPECT_NE(text.find("……另有10处"), std::string::npos);
}

TEST(BoardState, KnowsUnsavedWorkAndWhenCircuitsChange) {
  MemoryCircuitTable board = Board({{"WL1", "L1", "2", "0.8", "0.9"}, {"WL2", "L2", "3", "1", "0.9"}});
  BoardState state(board);
  int changes = 0;
  state.onCircuitChanged = [&] { ++changes; };
  state.ListRead();
  EXPECT_FALSE(state.HasUnsavedWork());
  board.SetItemText(0, 2, FromUtf8("5"));
  EXPECT_EQ(changes, 0) << "no results to clear yet";

  state.Calculated();
  EXPECT_TRUE(state.HasUnsavedWork());
  board.InsertColumn(5, "计算功率", 70);
  board.SetItemText(0, 5, FromUtf8("1.6"));
  EXPECT_EQ(changes, 0) << "results written are no change of a circuit";
  board.SetItemText(1, 4, FromUtf8("0.8"));
  board.SetItemText(1, 3, FromUtf8("0.7"));
  EXPECT_EQ(changes, 1) << "told once until results are shown again";

  state.Saved();
  EXPECT_FALSE(state.HasUnsavedWork());
  state.PhasesMoved({1});
  EXPECT_TRUE(state.HasUnsavedWork());
  EXPECT_TRUE(state.IsPhaseMarked(1));
  EXPECT_FALSE(state.IsPhaseMarked(0));
  state.ListRead();
  EXPECT_FALSE(state.IsPhaseMarked(1));
  EXPECT_FALSE(state.HasUnsavedWork());
}

TEST(BoardState, BalanceMarksFollowTheirCircuitsAndGoWhenThePhaseChangesOtherwise) {
  MemoryCircuitTable board = Board({{"WL1", "L1", "2"}, {"WL2", "L2", "3"}, {"WL3", "L3", "1"}, {"WL4", "L1", "4"}});
  BoardState state(board);
  state.ListRead();
  state.PhasesMoved({1, 3});
  board.InsertItem(0, FromUtf8("WL0"));
  EXPECT_EQ(state.MarkedRows(), (std::set<int>{2, 4})) << "WL2 and WL4 moved down";
  ASSERT_TRUE(board.DeleteItem(2));
  ASSERT_TRUE(board.DeleteItem(0));
  EXPECT_EQ(state.MarkedRows(), std::set<int>{2}) << "WL2 is gone, WL4 moved up";
  EXPECT_EQ(board.GetItemText(2, 0), "WL4");
  board.SetItemText(2, 1, FromUtf8("L2"));
  EXPECT_FALSE(state.IsPhaseMarked(2)) << "a phase set otherwise is not the balance's";
}

TEST(BoardState, ClearedResultsAndPhasesWrittenBackAreNothingToLose) {
  MemoryCircuitTable board = Board({{"WL1", "L1", "2", "0.8", "0.9"}, {"WL2", "L2", "3", "1", "0.9"}});
  BoardState state(board);
  state.ListRead();
  state.Calculated();
  state.ResultsCleared();
  EXPECT_FALSE(state.HasUnsavedWork()) << "results that are gone cannot be saved";

  state.PhasesMoved({0});
  ASSERT_TRUE(state.HasUnsavedWork());
  state.WrittenBack();
  EXPECT_FALSE(state.HasUnsavedWork()) << "the phases are in the workbook";
  EXPECT_TRUE(state.IsPhaseMarked(0)) << "what moved stays shown until read or saved";
}

TEST(BalanceMoves, ListEveryMovedCircuitWithOldAndNewPhase) {
  const MemoryCircuitTable board = Board({{"WL1", "L2", "2"}, {"WL2", "L2", "3"}, {"", "L1", "3"}});
  BalanceOutcome outcome;
  outcome.applied = true;
  outcome.phasesBefore = {"L1", "L1", "l1"};
  outcome.phasesAfter = {"L2", "L1", "L1"};
  const std::vector<PhaseMove> moves = PhaseMoves(board, outcome);
  EXPECT_EQ(MovedRows(moves), (std::vector<int>{0, 2}));
  EXPECT_EQ(ToUtf8(BalanceMovesMessage(moves, 0.25f)),
            "自动平衡完成,不平衡度0.250000。\n移动了2个回路(列表中已标出,保存或重新读取后取消标记):\n"
            "WL1: L1 → L2\n列表第3行: l1 → L1");
  EXPECT_EQ(ToUtf8(BalanceMovesMessage({}, 0.0f)), "自动平衡完成,不平衡度0.000000。\n各回路的相别没有改变。");
  outcome.applied = false;
  EXPECT_TRUE(PhaseMoves(board, outcome).empty());
}

TEST(BalanceTexts, TheTimeLimitMessageShowsTheTwoNumbersApart) {
  // Seen after a balance of 200 circuits: both printed as 0.000000.
  const std::string apart = ToUtf8(calc_text::NotProvedInTime(4.2e-8, 1.7e-8));
  // Eight decimals are the first to tell them apart.
  EXPECT_NE(apart.find("不平衡度0.00000004,不平衡度不可能低于0.00000002"), std::string::npos) << apart;
  EXPECT_NE(ToUtf8(calc_text::NotProvedInTime(0.5, 0.25)).find("0.500000,不平衡度不可能低于0.250000"),
            std::string::npos);
  const std::string reached = ToUtf8(calc_text::NotProvedInTime(0.125, 0.125));
  EXPECT_NE(reached.find("已达到可证明的下限"), std::string::npos) << reached;
}
