#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/cell_numbers.h"
#include "calc/memory_circuit_table.h"
#include "platform/text/encoding.h"

namespace {

// Records every notification together with the row and column counts the
// table reports at that moment, as a Qt model mirroring it would see them.
class RecordingObserver : public CircuitTableObserver {
 public:
  explicit RecordingObserver(const CircuitTable& table) : m_table(table) {}
  std::vector<std::string> events;

  void OnRowsAboutToBeInserted(int first, int count) override { Add("rows?", first, count); }
  void OnRowsInserted(int first, int count) override { Add("rows", first, count); }
  void OnRowsAboutToBeRemoved(int first, int count) override { Add("rm?", first, count); }
  void OnRowsRemoved(int first, int count) override { Add("rm", first, count); }
  void OnColumnsAboutToBeInserted(int first, int count) override { Add("cols?", first, count); }
  void OnColumnsInserted(int first, int count) override { Add("cols", first, count); }
  void OnColumnsAboutToBeRemoved(int first, int count) override { Add("del?", first, count); }
  void OnColumnsRemoved(int first, int count) override { Add("del", first, count); }
  void OnCellChanged(int row, int column) override { Add("cell", row, column); }
  void OnAboutToReset() override { Add("reset?", 0, 0); }
  void OnReset() override { Add("reset", 0, 0); }

 private:
  void Add(const char* what, int a, int b) {
    events.push_back(std::string(what) + " " + std::to_string(a) + "," + std::to_string(b) + " [" +
                     std::to_string(m_table.GetItemCount()) + "x" + std::to_string(m_table.GetColumnCount()) + "]");
  }
  const CircuitTable& m_table;
};

MemoryCircuitTable TwoColumnTable() {
  MemoryCircuitTable table;
  table.InsertColumn(0, "a", 10);
  table.InsertColumn(1, "b", 20);
  return table;
}

TEST(MemoryCircuitTable, InsertedColumnShiftsCellsAndCaptionsRight) {
  MemoryCircuitTable table = TwoColumnTable();
  table.InsertItem(0, "r0");
  table.SetItemText(0, 1, "x");
  EXPECT_EQ(table.InsertColumn(1, "new", 70), 1);
  EXPECT_EQ(table.GetColumnCount(), 3);
  EXPECT_EQ(table.GetColumnCaption(1), "new");
  EXPECT_EQ(table.GetColumnWidth(1), 70);
  EXPECT_EQ(table.GetColumnCaption(2), "b");
  EXPECT_EQ(table.GetItemText(0, 0), "r0");
  EXPECT_EQ(table.GetItemText(0, 1), "");
  EXPECT_EQ(table.GetItemText(0, 2), "x");
}

TEST(MemoryCircuitTable, CellsOutsideTheTableAreRefused) {
  MemoryCircuitTable table = TwoColumnTable();
  table.InsertItem(0, "r0");
  EXPECT_FALSE(table.SetItemText(0, 2, "beyond"));
  EXPECT_FALSE(table.SetItemText(1, 0, "beyond"));
  EXPECT_FALSE(table.SetItemText(-1, 0, "beyond"));
  EXPECT_EQ(table.GetItemText(0, 2), "");
  EXPECT_EQ(table.GetItemText(5, 0, 9), "");
}

TEST(MemoryCircuitTable, RowsNeedAColumnAndInsertAtTheirPosition) {
  MemoryCircuitTable empty;
  EXPECT_EQ(empty.InsertItem(0, "x"), -1);
  EXPECT_EQ(empty.GetItemCount(), 0);

  MemoryCircuitTable table = TwoColumnTable();
  table.InsertItem(0, "second");
  EXPECT_EQ(table.InsertItem(0, "first"), 0);
  EXPECT_EQ(table.InsertItem(99, "last"), 2);
  EXPECT_EQ(table.GetItemText(0, 0), "first");
  EXPECT_EQ(table.GetItemText(1, 0), "second");
  EXPECT_EQ(table.GetItemText(2, 0), "last");
}

TEST(MemoryCircuitTable, DeletingColumnsStopsWhenNoneIsLeft) {
  MemoryCircuitTable table = TwoColumnTable();
  table.InsertItem(0, "r0");
  table.SetItemText(0, 1, "kept");
  EXPECT_TRUE(table.DeleteColumn(0));
  EXPECT_EQ(table.GetItemText(0, 0), "kept");
  EXPECT_TRUE(table.DeleteColumn(0));
  EXPECT_FALSE(table.DeleteColumn(0));
  EXPECT_TRUE(table.DeleteAllItems());
  EXPECT_EQ(table.GetItemCount(), 0);
}

TEST(MemoryCircuitTable, CutTextKeepsDoubleByteCharactersWhole) {
  MemoryCircuitTable table = TwoColumnTable();
  table.InsertItem(0, "12.3456789012");
  EXPECT_EQ(table.GetItemText(0, 0, 9), "12.345678");
  EXPECT_EQ(table.GetItemText(0, 0), "12.3456789012");
  // "1" + four two-byte characters: 9 bytes hold "1" and four characters;
  // 8 bytes cannot hold the fourth, so it is left out rather than halved.
  const CString mixed = FromUtf8("1照明插座");
  table.SetItemText(0, 1, mixed);
  EXPECT_EQ(table.GetItemText(0, 1, 9), mixed);
  EXPECT_EQ(table.GetItemText(0, 1, 8), FromUtf8("1照明插"));
  EXPECT_EQ(table.GetItemText(0, 1, 0), "");
}

TEST(MemoryCircuitTable, ObserversHearBeforeAndAfterEveryChange) {
  MemoryCircuitTable table;
  RecordingObserver observer(table);
  table.AddObserver(&observer);
  table.InsertColumn(0, "a", 10);
  table.InsertItem(0, "r0");
  table.SetItemText(0, 0, "x");
  table.InsertItem(1, "r1");
  EXPECT_FALSE(table.DeleteItem(2));
  table.DeleteItem(0);
  EXPECT_EQ(table.GetItemText(0, 0), "r1");
  table.DeleteColumn(0);
  table.DeleteAllItems();
  table.RemoveObserver(&observer);
  table.InsertColumn(0, "unheard", 1);
  const std::vector<std::string> expected = {
      "cols? 0,1 [0x0]", "cols 0,1 [0x1]", "rows? 0,1 [0x1]", "rows 0,1 [1x1]", "cell 0,0 [1x1]",
      "rows? 1,1 [1x1]", "rows 1,1 [2x1]", "rm? 0,1 [2x1]",   "rm 0,1 [1x1]",
      "del? 0,1 [1x1]",  "del 0,1 [1x0]",  "reset? 0,0 [1x0]", "reset 0,0 [0x0]"};
  EXPECT_EQ(observer.events, expected);
}

TEST(CellNumbers, ReadLikeTheRuntimeFromNineBytes) {
  MemoryCircuitTable table = TwoColumnTable();
  table.InsertItem(0, "12.3456789012");
  EXPECT_FLOAT_EQ(ReadCellNumber(table, 0, 0), 12.345678f);
  const char* texts[] = {"abc", "  3.5kW", "0x10", "", "1e3"};
  const float values[] = {0.0f, 3.5f, 0.0f, 0.0f, 1000.0f};
  for (int i = 0; i < 5; ++i) {
    table.SetItemText(0, 1, texts[i]);
    EXPECT_EQ(ReadCellNumber(table, 0, 1), values[i]) << texts[i];
  }
}

TEST(CellNumbers, FixedTextShowsTheFloatNotTheDouble) {
  EXPECT_EQ(FormatFixed(2.4f), "2.400000");
  EXPECT_EQ(FormatFixed(12.8342247f), "12.834225");
  EXPECT_EQ(FormatFixed(0.1f), "0.100000");
  EXPECT_EQ(FormatFixed(16777217.0f), "16777216.000000");
}

}  // namespace

#include <filesystem>

#include "calc/program_folder.h"

namespace {

// File names are case-sensitive here: the folder must keep its own case.
TEST(ProgramFolder, IsTheExecutablesFolderAsItIsWritten) {
  const std::string expected = std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/";
  EXPECT_EQ(ToUtf8(GetProgramFolder()), expected);
  EXPECT_EQ(ToUtf8(GetProgramFolder() + InputWorkbookName()), expected + "电气计算.xls");
}

}  // namespace
