#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "calc/write_back_plan.h"
#include "workbook/atomic_file.h"
#include "workbook_fixture.h"

namespace {

const Rows kThree = {{"WL1", "L1", "5", "0.8", "0.85", "照明"},
                     {"WL2", "L1", "5", "0.8", "0.85", "插座"},
                     {"WL3", "L1", "5", "0.8", "0.85", "空调"}};

class Editing : public WorkbookTest {
 protected:
  void ReadThree() {
    WriteInput(kThree, kSmallLibrary);
    ASSERT_TRUE(core.ReadCircuits());
  }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> cells;
    for (int row = 0; row < list.GetItemCount(); ++row) cells.push_back(Cell(row, column));
    return cells;
  }
};

TEST_F(Editing, AValidValueIsMarkedClearsTheResultsAndUndoes) {
  ReadThree();
  ASSERT_TRUE(core.Calculate());
  EXPECT_FALSE(core.HasUnwrittenEdits());
  EXPECT_FALSE(core.CanUndo());
  ASSERT_TRUE(core.EditCircuitCell(1, 2, Cp936("7.5")));
  EXPECT_EQ(Cell(1, 2), "7.5");
  EXPECT_FALSE(core.ResultsCurrent());
  EXPECT_EQ(list.GetColumnCount(), 6);
  EXPECT_TRUE(core.IsCellEdited(1, 2));
  EXPECT_FALSE(core.IsCellEdited(1, 1));
  EXPECT_FALSE(core.IsCellEdited(0, 2));
  EXPECT_TRUE(core.HasUnwrittenEdits());
  ASSERT_TRUE(core.UndoEdit());
  EXPECT_EQ(Cell(1, 2), "5");
  EXPECT_FALSE(core.IsCellEdited(1, 2));
  EXPECT_FALSE(core.HasUnwrittenEdits());
  EXPECT_FALSE(core.UndoEdit());
}

TEST_F(Editing, ValuesTheCalculationWouldRefuseKeepTheOldValue) {
  ReadThree();
  EXPECT_FALSE(core.EditCircuitCell(0, 1, Cp936("L4")));
  EXPECT_FALSE(core.EditCircuitCell(0, 2, Cp936("-1")));
  EXPECT_FALSE(core.EditCircuitCell(0, 3, Cp936("1.5")));
  EXPECT_FALSE(core.EditCircuitCell(0, 4, Cp936("abc")));
  EXPECT_FALSE(core.EditCircuitCell(0, 4, Cp936("")));
  EXPECT_EQ(host.messages.size(), 5u);
  EXPECT_EQ(host.messages[0], "相别须为 L1、L2、L3、L1L2L3 或三相,单相回路可带“(固定)”或“*”,不能填入“L4”,原值保留。");
  EXPECT_EQ(host.messages[4], "功率因数须为0到1之间的数(可以等于1),不能填入(空),原值保留。");
  EXPECT_EQ(Column(1), (std::vector<std::string>{"L1", "L1", "L1"}));
  EXPECT_FALSE(core.CanUndo());
  EXPECT_FALSE(core.HasUnwrittenEdits());
  // Names and remarks take any text; 1 is a valid coefficient.
  EXPECT_TRUE(core.EditCircuitCell(0, 0, Cp936("WL1a")));
  EXPECT_TRUE(core.EditCircuitCell(0, 5, Cp936("")));
  EXPECT_TRUE(core.EditCircuitCell(0, 3, Cp936("1")));
  EXPECT_TRUE(core.EditCircuitCell(0, 1, Cp936("L3")));
}

TEST_F(Editing, ResultColumnsAreRefusedAndTheRemarkFoundAfterThem) {
  ReadThree();
  ASSERT_TRUE(core.Calculate());
  EXPECT_FALSE(core.EditCircuitCell(0, 5, Cp936("1")));
  EXPECT_FALSE(core.EditCircuitCell(0, 7, Cp936("C16")));
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_TRUE(core.ResultsCurrent());
  EXPECT_FALSE(core.IsCellEdited(0, 5));
  ASSERT_TRUE(core.EditCircuitCell(0, 8, Cp936("照明改")));
  EXPECT_EQ(Cell(0, 5), "照明改");  // the results are gone, the remark back in place
  EXPECT_TRUE(core.IsCellEdited(0, 5));
}

TEST_F(Editing, AddedAndDeletedRowsUndoInOrder) {
  ReadThree();
  EXPECT_EQ(core.AddCircuit(0), 1);
  EXPECT_EQ(core.AddCircuit(-1), 4);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"WL1", "", "WL2", "WL3", ""}));
  EXPECT_TRUE(core.IsCellEdited(1, 0));
  EXPECT_TRUE(core.IsCellEdited(4, 5));
  EXPECT_FALSE(core.IsCellEdited(2, 0));
  ASSERT_TRUE(core.DeleteCircuit(2));
  EXPECT_FALSE(core.DeleteCircuit(9));
  EXPECT_EQ(Column(0), (std::vector<std::string>{"WL1", "", "WL3", ""}));
  EXPECT_FALSE(core.IsCellEdited(2, 0));  // WL3 itself is unchanged
  ASSERT_TRUE(core.UndoEdit());
  EXPECT_EQ(Column(0), (std::vector<std::string>{"WL1", "", "WL2", "WL3", ""}));
  ASSERT_TRUE(core.UndoEdit());
  ASSERT_TRUE(core.UndoEdit());
  EXPECT_EQ(Column(0), (std::vector<std::string>{"WL1", "WL2", "WL3"}));
  EXPECT_FALSE(core.HasUnwrittenEdits());
  // Deleting a row read from the sheet is an unwritten change by itself.
  ASSERT_TRUE(core.DeleteCircuit(0));
  EXPECT_TRUE(core.HasUnwrittenEdits());
}

TEST_F(Editing, ABalancingIsOneStepAndItsMovesAreMarked) {
  ReadThree();
  ASSERT_TRUE(core.AutoBalance());
  EXPECT_EQ(Column(1), (std::vector<std::string>{"L3", "L2", "L1"}));
  EXPECT_TRUE(core.IsCellEdited(0, 1));
  EXPECT_FALSE(core.IsCellEdited(2, 1));  // stayed on L1
  EXPECT_TRUE(core.ResultsCurrent());
  ASSERT_TRUE(core.UndoEdit());
  EXPECT_EQ(Column(1), (std::vector<std::string>{"L1", "L1", "L1"}));
  EXPECT_FALSE(core.CanUndo());
  EXPECT_FALSE(core.ResultsCurrent());
}

TEST_F(Editing, ANewReadForgetsTheEdits) {
  ReadThree();
  ASSERT_TRUE(core.EditCircuitCell(0, 1, Cp936("L2")));
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.CanUndo());
  EXPECT_FALSE(core.HasUnwrittenEdits());
}

TEST(WriteBackPlan, DeletedRowsMoveTheRestUpAndNewRowsGoBelowTheRowBefore) {
  // Circuits in sheet rows 2, 3, 5 (row 4 empty); the list: 2 deleted, a new
  // row after the first, 5 edited, a new row at the end.
  auto inputs = [](const char* name) { return CircuitInputs{name, "L1", "1", "1", "1", ""}; };
  const std::vector<SheetCircuit> circuits = {{2, inputs("A")}, {3, inputs("B")}, {5, inputs("C")}};
  ListInputs now;
  now.cells = {inputs("A"), inputs("N"), inputs("C"), inputs("M")};
  now.cells[2][1] = "L2";
  now.origins = {0, -1, 2, -1};
  const WriteBackPlan plan = PlanWriteBack(circuits, now);
  EXPECT_EQ(plan.update.deleted_rows, (std::vector<uint32_t>{2}));
  // After the delete C is row 4 (index 3); N goes to index 2 pushing C to 4.
  EXPECT_EQ(plan.update.inserted_rows, (std::vector<uint32_t>{2, 5}));
  EXPECT_EQ(plan.finalRows, (std::vector<long>{2, 3, 5, 6}));
  std::vector<std::pair<uint32_t, uint32_t>> cells;
  for (const auto& cell : plan.update.cells) cells.emplace_back(cell.row, cell.column);
  EXPECT_EQ(cells, (std::vector<std::pair<uint32_t, uint32_t>>{
                       {2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {4, 1}, {5, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}}));
}

TEST(WriteBackPlan, NewRowsBeforeTheFirstCircuitOrWithoutAnyGoAboveOrBelowTheHeader) {
  const std::vector<SheetCircuit> circuits = {{4, CircuitInputs{"A"}}};
  ListInputs leading;
  leading.cells = {CircuitInputs{"N"}, CircuitInputs{"A"}};
  leading.origins = {-1, 0};
  EXPECT_EQ(PlanWriteBack(circuits, leading).update.inserted_rows, (std::vector<uint32_t>{3}));
  EXPECT_EQ(PlanWriteBack(circuits, leading).finalRows, (std::vector<long>{4, 5}));
  ListInputs alone;
  alone.cells = {CircuitInputs{"N"}};
  alone.origins = {-1};
  const WriteBackPlan plan = PlanWriteBack(circuits, alone);
  EXPECT_EQ(plan.update.deleted_rows, (std::vector<uint32_t>{3}));
  EXPECT_EQ(plan.update.inserted_rows, (std::vector<uint32_t>{1}));
}

class WritingBack : public Editing {};

TEST_F(WritingBack, IsRefusedBeforeAReadAndForAWorkbookChangedOnDisk) {
  EXPECT_FALSE(core.WriteBack());
  ReadThree();
  ASSERT_TRUE(core.EditCircuitCell(0, 1, Cp936("L2")));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  WriteInput(kThree, kSmallLibrary);
  const auto before = xls::ReadWholeFile(InputPath());
  EXPECT_FALSE(core.WriteBack());
  EXPECT_EQ(host.messages.front(), "请首先读入数据文件!");
  EXPECT_NE(host.messages.back().find("请重新读取"), std::string::npos);
  EXPECT_EQ(xls::ReadWholeFile(InputPath()).value(), before.value());
  EXPECT_TRUE(core.IsCellEdited(0, 1));
}

}  // namespace

namespace {

TEST_F(WritingBack, OnlyTheChangedCircuitsReachTheSheetAndTheMarksClear) {
  WriteInput(kThree, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.AutoBalance());
  ASSERT_TRUE(core.EditCircuitCell(1, 2, Cp936("7.5")));
  ASSERT_TRUE(core.DeleteCircuit(2));
  const int added = core.AddCircuit(0);
  for (int column = 0; column < 5; ++column)
    ASSERT_TRUE(core.EditCircuitCell(added, column, Cp936(std::vector<std::string>{"WL9", "L2", "3", "1", "0.9"}[column])));
  host.messages.clear();
  ASSERT_TRUE(core.WriteBack()) << (host.messages.empty() ? "" : host.messages.back());
  EXPECT_FALSE(core.HasUnwrittenEdits());
  EXPECT_FALSE(core.IsCellEdited(added, 0));
  const NamedSheets sheets = ReadBack(InputPath());
  const Rows expected = {{"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"},
                         {"WL1", "L3", "5", "0.8", "0.85", "照明"},
                         {"WL9", "L2", "3", "1", "0.9"},
                         {"WL2", "L2", "7.5", "0.8", "0.85", "插座"}};
  ASSERT_FALSE(sheets.empty());
  EXPECT_EQ(sheets.front().second, expected);
  // A second write after more edits starts from what the first wrote.
  ASSERT_TRUE(core.EditCircuitCell(2, 5, Cp936("插座改")));
  ASSERT_TRUE(core.WriteBack());
  EXPECT_EQ(ReadBack(InputPath()).front().second[3][5], "插座改");
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_EQ(list.GetItemCount(), 3);
}

TEST_F(WritingBack, AReadOnlyOrLockedWorkbookIsLeftAsItWas) {
  ReadThree();
  ASSERT_TRUE(core.EditCircuitCell(0, 1, Cp936("L2")));
  const auto before = xls::ReadWholeFile(InputPath());
  const std::filesystem::path lock = std::filesystem::path(InputPath()).parent_path() / ".~lock.电气计算.xls#";
  { std::ofstream(lock) << "someone"; }
  EXPECT_FALSE(core.WriteBack());
  std::filesystem::remove(lock);
  std::filesystem::permissions(InputPath(), std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  EXPECT_FALSE(core.WriteBack());
  std::filesystem::permissions(InputPath(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  EXPECT_EQ(xls::ReadWholeFile(InputPath()).value(), before.value());
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_NE(host.messages[0].find("写回工作簿失败"), std::string::npos);
  EXPECT_TRUE(core.HasUnwrittenEdits());
  EXPECT_TRUE(core.WriteBack());
}

}  // namespace

namespace {

// 读取 skips empty rows; the circuits after one are still written to their own rows.
TEST_F(WritingBack, AnEmptyRowBetweenCircuitsKeepsTheRowsInPlace) {
  WriteInput({{"WL1", "L1", "5", "0.8", "0.85"}, {}, {"WL2", "L1", "3", "0.8", "0.85"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_EQ(list.GetItemCount(), 2);
  ASSERT_TRUE(core.EditCircuitCell(1, 1, Cp936("L3")));
  ASSERT_TRUE(core.DeleteCircuit(0));
  ASSERT_TRUE(core.WriteBack()) << host.messages.back();
  const Rows expected = {{"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"},
                         {},
                         {"WL2", "L3", "3", "0.8", "0.85"}};
  EXPECT_EQ(ReadBack(InputPath()).front().second, expected);
}

}  // namespace
