#include <gtest/gtest.h>

#include <fstream>

#include "workbook_fixture.h"

namespace {

using Headers = std::vector<std::string>;
const Headers kInputHeaders = {"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"};
const Headers kResultHeaders = {"线路编号", "相别",     "设备功率", "需要系数", "功率因数",
                                "计算功率", "计算电流", "可选开关", "备注"};

class Reading : public WorkbookTest {};

TEST_F(Reading, TwiceGivesTheSameListAndAfterACalculationDropsTheResultColumns) {
  WriteInput({{"WL1", "L1", "3", "0.8", "0.85", "照明"}, {"WL2", "L2", "2", "1", "0.9", "插座"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  EXPECT_EQ(list.GetColumnCount(), 9);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_EQ(Headers(), kInputHeaders);
  EXPECT_EQ(list.GetColumnCount(), 6);
  EXPECT_EQ(list.GetColumnCaption(5), Cp936("备注"));
  EXPECT_EQ(list.GetColumnWidth(0), 100);
  EXPECT_EQ(list.GetColumnWidth(5), 120);
  EXPECT_EQ(list.GetExtendedStyle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  ASSERT_EQ(list.GetItemCount(), 2);
  EXPECT_EQ(Cell(1, 0), "WL2");
  EXPECT_EQ(Cell(1, 5), "插座");
  EXPECT_EQ(switches.GetCount(), 0);
  EXPECT_EQ(host.waitDepth, 0);
}

TEST_F(Reading, ShortRowsLeaveCellsEmptyAndLongRowsShowTheFirstSix) {
  WriteInput({{"WL1", "L1", "3"}, {"WL2", "L2", "2", "1", "0.9", "插座", "extra", "more"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_EQ(list.GetItemCount(), 2);
  EXPECT_EQ(Cell(0, 2), "3");
  EXPECT_EQ(Cell(0, 3), "");
  EXPECT_EQ(Cell(1, 5), "插座");
  EXPECT_EQ(list.GetColumnCount(), 6);
}

TEST_F(Reading, MissingSheetIsSaidAndLeavesTheListEmpty) {
  WriteInput({}, kSmallLibrary);
  EXPECT_FALSE(core.ReadCircuits());
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_FALSE(core.Calculate());
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_NE(host.messages[0].find("工作簿中没有工作表“线路负荷计算”"), std::string::npos) << host.messages[0];
  EXPECT_EQ(host.messages[1], "请首先读入数据文件!");
}

class Calculation : public WorkbookTest {};

TEST_F(Calculation, CircuitFiguresAndBoardFromTheWorkedExample) {
  // Phase sums 12, 10 and 8 kW.
  WriteInput({{"WL1", "L1", "3", "0.8", "0.85", "照明"},
              {"WL2", "L1", "9", "1", "1"},
              {"WL3", "L2", "10", "1", "1"},
              {"WL4", "L3", "8", "1", "1"}},
             kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  EXPECT_EQ(Headers(), kResultHeaders);
  EXPECT_EQ(Cell(0, 5), "2.400000");
  EXPECT_EQ(Cell(0, 6), "12.834225");
  EXPECT_EQ(Cell(0, 7), "C16;C32;C63;MCCB-125;");  // threshold 15 A
  EXPECT_EQ(Cell(0, 8), "照明");
  EXPECT_EQ(core.m_fL1, 12.0f);
  EXPECT_EQ(core.m_fL2, 10.0f);
  EXPECT_EQ(core.m_fL3, 8.0f);
  EXPECT_FLOAT_EQ(core.m_fUnbalance, 0.4f);
  EXPECT_EQ(core.m_fEquipPower, 36.0f);
  EXPECT_FLOAT_EQ(core.m_fCalcPower, 28.8f);
  EXPECT_FLOAT_EQ(core.m_fCurrent, 87.552f);
  // 87.552 A needs 97 A: only the 100 and 125 A ratings reach it.
  EXPECT_EQ(switches.GetCount(), 1);
  EXPECT_EQ(switches.GetWindowText(), "MCCB-125");
  EXPECT_EQ(host.exchanges, (std::vector<bool>{true, false}));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(Calculation, ResultColumnsAreInsertedOnce) {
  WriteInput({{"WL1", "L1", "3", "0.8", "0.85", "照明"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  ASSERT_TRUE(core.Calculate());
  EXPECT_EQ(Headers(), kResultHeaders);
  EXPECT_EQ(list.GetColumnCount(), 9);
  EXPECT_EQ(list.GetColumnCaption(7), Cp936("可选开关"));
  EXPECT_EQ(list.GetColumnWidth(7), 100);
  EXPECT_EQ(Cell(0, 8), "照明");
}

TEST_F(Calculation, BoardPowerFactorBounds) {
  WriteInput({{"WL1", "L1", "3", "0.8", "0.85"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  core.m_fPowerFactor = 0.01f;
  EXPECT_FALSE(core.Calculate());
  EXPECT_EQ(host.messages, std::vector<std::string>{"功率因数必须介于0和1之间"});
  EXPECT_EQ(list.GetColumnCount(), 6);  // refused before touching anything
  EXPECT_EQ(core.m_astrHeaders.GetSize(), 6);
  core.m_fPowerFactor = 1.0f;
  EXPECT_TRUE(core.Calculate());
  EXPECT_FLOAT_EQ(core.m_fCurrent, 10.944f);  // 3 × 3 kW × 0.8 × 1.52 / 1
  core.m_fPowerFactor = 1.0001f;
  EXPECT_FALSE(core.Calculate());
}

TEST_F(Calculation, CircuitPowerFactorBoundsShowOneMessagePerRowAndNoCurrent) {
  // Power factors in (0, 0.01] pass the check of every circuit's numbers but
  // give no current; each such circuit is named.
  WriteInput({{"A", "L1", "2", "1", "0.01"}, {"B", "L1", "2", "1", "1"}, {"C", "L2", "2", "1", "0.005"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  EXPECT_EQ(host.messages, (std::vector<std::string>{"回路 A:功率因数必须在0与1之间", "回路 C:功率因数必须在0与1之间"}));
  EXPECT_EQ(Cell(0, 5), "2.000000");
  EXPECT_EQ(Cell(0, 6), "");
  EXPECT_EQ(Cell(0, 7), "");
  EXPECT_EQ(Cell(1, 6), "9.090909");
  // The refused row does not show the previous circuit's current.
  EXPECT_EQ(Cell(2, 6), "");
  // Its power still counts towards its phase.
  EXPECT_EQ(core.m_fL1, 4.0f);
  EXPECT_EQ(core.m_fL2, 2.0f);
}

// The message about a refused power factor comes before the row changes.
class CellWatchingHost : public RecordingHost {
 public:
  const CircuitTable* list = nullptr;
  std::vector<std::string> powerCellAtMessage;
  void ShowMessage(const CString& text) override {
    RecordingHost::ShowMessage(text);
    powerCellAtMessage.push_back(ToUtf8(list->GetItemText(0, 5)));
  }
};

TEST_F(Calculation, RefusedCircuitPowerFactorIsReportedBeforeTheRowIsWritten) {
  WriteInput({{"A", "L1", "2", "1", "0.005"}}, kSmallLibrary);
  CellWatchingHost watcher;
  watcher.list = &list;
  CLoadCalcCore watched{list, switches, watcher};
  watched.SetWorkbookPath(Cp936(InputPath()));
  watched.ResetCircuitList();
  ASSERT_TRUE(watched.ReadCircuits());
  ASSERT_TRUE(watched.Calculate());
  EXPECT_EQ(watcher.powerCellAtMessage, std::vector<std::string>{""});
  EXPECT_EQ(Cell(0, 5), "2.000000");
}

TEST_F(Calculation, OnlyExactPhaseTextsCount) {
  WriteInput({{"回路1", "l1", "1", "1", "1"},
              {"回路2", " L1", "1", "1", "1"},
              {"回路3", "L1 ", "1", "1", "1"},
              {"回路4", "L4", "1", "1", "1"},
              {"回路5", "L3", "4", "1", "1"}},
             kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  const std::vector<std::string> expected = {"回路1\n回路的相别指定不合法", "回路2\n回路的相别指定不合法",
                                             "回路3\n回路的相别指定不合法", "回路4\n回路的相别指定不合法"};
  EXPECT_EQ(host.messages, expected);
  EXPECT_EQ(Cell(0, 5), "1.000000");  // written before the phase is checked
  EXPECT_EQ(core.m_fL1, 0.0f);
  EXPECT_EQ(core.m_fL3, 4.0f);
  // All on one phase: u = 3 and the equipment power is three times the phase.
  EXPECT_EQ(core.m_fUnbalance, 3.0f);
  EXPECT_EQ(core.m_fEquipPower, 12.0f);
}

TEST_F(Calculation, UnbalanceOfExactlyPointFifteenTakesThreeTimesTheLargestPhase) {
  WriteInput({{"1", "L1", "3.5", "1", "1"}, {"2", "L2", "3", "1", "1"}, {"3", "L3", "3.5", "1", "1"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  EXPECT_FLOAT_EQ(core.m_fUnbalance, 0.15f);
  EXPECT_EQ(core.m_fEquipPower, 10.5f);

  list.SetItemText(1, 2, "3.25");  // u = 0.75 / 10.25, below the limit
  ASSERT_TRUE(core.Calculate());
  EXPECT_EQ(core.m_fEquipPower, 10.25f);
  list.SetItemText(1, 2, "3.5");  // equal phases
  ASSERT_TRUE(core.Calculate());
  EXPECT_EQ(core.m_fUnbalance, 0.0f);
  EXPECT_EQ(core.m_fEquipPower, 10.5f);
}

TEST_F(Calculation, NumbersAreReadFromNineBytesAndNonNumbersAreRefused) {
  WriteInput({{"1", "L1", "12.3456789012", "1", "1"}, {"2", "L2", "无", "1", "1"}, {"3", "L3", "5kW", "1", "1"}},
             kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.Calculate());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("\n回路 2 的设备功率:“无”\n回路 3 的设备功率:“5kW”"), std::string::npos)
      << host.messages[0];
  EXPECT_EQ(list.GetColumnCount(), 6);
  EXPECT_EQ(core.m_fL1, 0.0f);

  list.SetItemText(1, 2, "0");
  list.SetItemText(2, 2, "5");
  ASSERT_TRUE(core.Calculate());
  EXPECT_EQ(core.m_fL1, 12.345678f);
  EXPECT_EQ(Cell(0, 5), "12.345678");
  EXPECT_EQ(core.m_fL2, 0.0f);
  EXPECT_EQ(core.m_fL3, 5.0f);
}

TEST_F(Calculation, NoLoadGivesNoUnbalance) {
  WriteInput({{"1", "L1", "0", "1", "1"}, {"2", "X", "5", "1", "1"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  EXPECT_EQ(core.m_fUnbalance, 0.0f);
  EXPECT_EQ(core.m_fEquipPower, 0.0f);
  EXPECT_EQ(core.m_fCurrent, 0.0f);
}

class SwitchSelection : public WorkbookTest {};

TEST_F(SwitchSelection, ThresholdIsCurrentTimesOnePointOnePlusOneTruncated) {
  WriteInput({{"1", "L1", "1", "1", "1"}},
             {{"A12", "12"}, {"B11", "11"}, {"C", "5", "13"}, {"NameOnly"}, {"A12", "30"}, {"R63A", "63A"},
              {"C63", "C63"}});
  EXPECT_EQ(ToUtf8(core.FindSwitches(10.0f)), "A12;C;A12;R63A;");
  EXPECT_EQ(ToUtf8(core.FindSwitches(0.0f)), "A12;B11;C;A12;R63A;");
  EXPECT_EQ(ToUtf8(core.FindSwitches(57.0f)), "R63A;");  // 62.7 + 1 → 63: a rating equal to it qualifies
  EXPECT_EQ(ToUtf8(core.FindSwitches(58.0f)), "");       // 63.8 + 1 → 64
}

// A library sheet without models is read: no switch fits. (A missing one
// is said instead.)
TEST_F(SwitchSelection, EmptyLibraryShowsNoSwitch) {
  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"},
                                            {{"1", "L1", "3", "0.8", "0.85"}}));
  book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, {}));
  ASSERT_TRUE(book.Save(InputPath()).ok());
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  EXPECT_EQ(Cell(0, 7), "");
  EXPECT_EQ(switches.GetCount(), 0);
  EXPECT_EQ(switches.GetWindowText(), Cp936("无"));
}

TEST_F(SwitchSelection, BoardEntriesKeepTheLibraryOrderAndTheFirstIsSelected) {
  WriteInput({{"1", "L1", "1", "1", "1"}}, {{"Z", "200"}, {"A", "100"}, {"", "300"}, {"M", "150"}});
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  ASSERT_EQ(switches.GetCount(), 3);
  EXPECT_EQ(switches.GetLBText(0), "Z");
  EXPECT_EQ(switches.GetLBText(1), "A");
  EXPECT_EQ(switches.GetLBText(2), "M");
  EXPECT_EQ(switches.GetCurSel(), 0);
  EXPECT_EQ(switches.GetWindowText(), "Z");
}

TEST_F(SwitchSelection, ALibraryRowWithoutAModelNameFirstGivesAnEmptyFirstEntrySelected) {
  WriteInput({{"1", "L1", "1", "1", "1"}}, {{"", "300"}, {"Z", "200"}, {"", "250"}, {"A", "100"}});
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  ASSERT_EQ(switches.GetCount(), 3);
  EXPECT_EQ(switches.GetLBText(0), "");
  EXPECT_EQ(switches.GetLBText(1), "Z");
  EXPECT_EQ(switches.GetLBText(2), "A");
  EXPECT_EQ(switches.GetCurSel(), 0);
  EXPECT_EQ(switches.GetWindowText(), "");
}

// The switch library becomes unreadable between 读取 and 计算: the
// calculation stops before any row with one message naming the file and
// the sheet, and no row gets figures.
TEST_F(Calculation, SwitchLibraryThatCannotBeOpenedStopsTheCalculationWithOneMessage) {
  WriteInput({{"WL1", "L1", "3", "0.8", "0.85"}, {"WL2", "L2", "2", "1", "0.9"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  { std::ofstream(InputPath(), std::ios::binary | std::ios::trunc) << "not a workbook"; }
  EXPECT_FALSE(core.Calculate());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("无法读取工作表“开关型号库”", 0), 0u) << host.messages[0];
  EXPECT_TRUE(core.SwitchLookupFailure().has_value());
  EXPECT_EQ(Cell(0, 5), "");
  EXPECT_EQ(Cell(0, 7), "");
  EXPECT_EQ(Cell(1, 5), "");
}

}  // namespace
