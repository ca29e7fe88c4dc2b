// The whole building from its workbooks: boards read and calculated by
// 规范法, the busbar, the transformer and the main switch; and every kind of
// bad input named in one message with no busbar figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "calc/system_calculation.h"
#include "calc/system_results_workbook.h"
#include "calc/system_texts.h"
#include "calc/system_workbook.h"
#include "platform/text/encoding.h"
#include "../support/files_and_commands.h"
#include "../support/system_workbooks.h"
#include "../support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const Rows kLighting = {{"WL1", "L1", "6", "0.8", "0.9"},
                        {"WL2", "L2", "5", "0.8", "0.9"},
                        {"WL3", "L3", "4", "0.8", "0.85", "插座"}};
const Rows kPower = {{"M1", "L1L2L3", "30", "0.8", "0.8", "水泵"}, {"M2", "三相", "15", "1", "0.85"}, {"WL1", "L1", "1", "1", "1"}};

class SystemTest : public testing::Test {
 protected:
  fs::path Path(const std::string& name) const { return m_temp.path(name); }
  CString SystemPath() const { return FromUtf8(Path("系统.xls").string()); }

  void WriteTwoBoards(const Rows& parameters = {}, const Rows& library = {}) {
    ASSERT_TRUE(test::WriteBoardWorkbook(Path("AL1.xls"), kLighting));
    fs::create_directory(Path("动力"));
    ASSERT_TRUE(test::WriteBoardWorkbook(Path("动力/AP1.xls"), kPower, {{"C16", "16"}}));
    ASSERT_TRUE(test::WriteSystemWorkbook(Path("系统.xls"), {{"AL1", "AL1.xls", "照明"}, {"AP1", "动力/AP1.xls"}},
                                          parameters, library));
  }

  std::string Message(const SystemResult& result) const { return ToUtf8(system_text::ProblemsMessage(result.problems)); }

  test::TempFolder m_temp{"loadcalc-system"};
};

// The board as 规范法 calculates it alone, from the same circuits.
StandardBoardResult AloneByStandard(const Rows& rows, const StandardInputs& inputs) {
  std::vector<Circuit> circuits;
  for (const auto& row : rows) {
    Circuit c;
    const PhaseMark mark = ReadPhaseMark(FromUtf8(row[1]), FromUtf8(row[1]));
    c.kind = mark.kind;
    c.phase = mark.phase;
    c.equipmentPower = std::stof(row[2]);
    c.demandCoefficient = std::stof(row[3]);
    c.powerFactor = std::stof(row[4]);
    circuits.push_back(c);
  }
  return CalculateStandard(circuits, inputs);
}

}  // namespace

TEST_F(SystemTest, BoardsFromTheirWorkbooksFeedTheBusbar) {
  WriteTwoBoards();
  const SystemResult result = CalculateSystem(SystemPath());
  ASSERT_TRUE(result.Complete()) << Message(result);
  ASSERT_EQ(result.boards.size(), 2u);
  EXPECT_EQ(ToUtf8(result.boards[0].row.name), "AL1");
  EXPECT_EQ(ToUtf8(result.boards[0].row.remark), "照明");
  EXPECT_EQ(ToUtf8(result.boards[1].row.path), Path("动力/AP1.xls").string());
  const StandardInputs boardInputs{0.9, 0.95, 0.9, 10, false};
  const StandardBoardResult al1 = AloneByStandard(kLighting, boardInputs);
  const StandardBoardResult ap1 = AloneByStandard(kPower, boardInputs);
  EXPECT_NEAR(result.boards[0].board.totals.pjs, al1.totals.pjs, 1e-12);
  EXPECT_NEAR(result.boards[1].board.totals.qjs, ap1.totals.qjs, 1e-12);
  EXPECT_EQ(ap1.rule, SinglePhaseRule::Sum);  // 1 kW single-phase beside 39 kW three-phase
  EXPECT_NEAR(result.boards[1].installedPower, 46.0, 1e-6);
  // The boards are not compensated: the capacitor bank is at the busbar.
  EXPECT_FALSE(result.boards[0].board.totals.compensated);

  const BusbarResult& busbar = *result.busbar;
  EXPECT_NEAR(busbar.boardsP, al1.totals.pjs + ap1.totals.pjs, 1e-9);
  EXPECT_NEAR(busbar.totals.pjs, 0.9 * busbar.boardsP, 1e-9);
  EXPECT_NEAR(busbar.totals.qjs, 0.95 * (al1.totals.qjs + ap1.totals.qjs), 1e-9);
  ASSERT_TRUE(busbar.transformer.rating.has_value());
  EXPECT_EQ(*busbar.transformer.rating, 100.0);

  // The main switch from the first board's library, on I before compensation.
  EXPECT_FALSE(result.libraryFromSystem);
  EXPECT_EQ(ToUtf8(result.libraryPath), Path("AL1.xls").string());
  const double threshold = std::trunc(static_cast<float>(busbar.totals.current) * 1.1 + 1);
  ASSERT_FALSE(result.mainSwitches.empty());
  for (const auto& [model, rating] : {std::pair{"C16", 16}, {"C32", 32}, {"C63", 63}, {"NSX100", 100}}) {
    const bool listed = std::find(result.mainSwitches.begin(), result.mainSwitches.end(), CString(model)) !=
                        result.mainSwitches.end();
    EXPECT_EQ(listed, rating >= threshold) << model;
  }
  // Each board keeps its own switch, from its own library.
  EXPECT_EQ(ToUtf8(result.boards[1].SelectedSwitch()), "无");
}

TEST_F(SystemTest, ReadsOnlyTheBoardsAndTheSystemWorkbook) {
  WriteTwoBoards();
  CalculateSystem(SystemPath());
  // The first reading adds the backup sheet as 读取 does; nothing else changes.
  const NamedSheets board = ReadWorkbookBack(Path("AL1.xls").string());
  ASSERT_EQ(board.size(), 3u);
  EXPECT_EQ(board[0].first, "线路负荷计算");
  EXPECT_EQ(board[2].first, "CSpreadSheetBackup");
  EXPECT_EQ(board[2].second, board[0].second);
  const auto boardBytes = test::ReadBytes(Path("AL1.xls"));
  const auto systemBytes = test::ReadBytes(Path("系统.xls"));
  const SystemResult again = CalculateSystem(SystemPath());
  EXPECT_TRUE(again.Complete());
  EXPECT_EQ(test::ReadBytes(Path("AL1.xls")), boardBytes);
  EXPECT_EQ(test::ReadBytes(Path("系统.xls")), systemBytes);
}

TEST_F(SystemTest, SystemParametersAndTheSystemsOwnLibraryAndOverrides) {
  WriteTwoBoards({{"配电箱K∑p", "0.8"}, {"配电箱KΣq", "0.9"}, {"母线K∑p", "0.85"}, {"母线K∑q", "0.9"},
                  {"目标功率因数", "0.95"}, {"电容器步长", "5"}, {"变压器台数", "2"}, {"最大负荷率", "0.7"}},
                 {{"MAIN-125", "125"}, {"MAIN-50", "50"}});
  SystemResult result = CalculateSystem(SystemPath());
  ASSERT_TRUE(result.Complete()) << Message(result);
  EXPECT_DOUBLE_EQ(result.inputs.board.kp, 0.8);
  EXPECT_DOUBLE_EQ(result.inputs.board.kq, 0.9);
  EXPECT_DOUBLE_EQ(result.inputs.busbar.kp, 0.85);
  EXPECT_DOUBLE_EQ(result.inputs.busbar.targetPowerFactor, 0.95);
  EXPECT_DOUBLE_EQ(result.inputs.busbar.bankStep, 5);
  EXPECT_EQ(result.busbar->transformer.count, 2);
  EXPECT_DOUBLE_EQ(result.inputs.transformer.maxLoadRate, 0.7);
  EXPECT_NEAR(result.boards[0].board.totals.pjs, 0.8 * result.boards[0].board.totals.p, 1e-12);
  EXPECT_TRUE(result.libraryFromSystem);
  EXPECT_EQ(result.mainSwitches, std::vector<CString>{"MAIN-125"});

  SystemOverrides overrides;
  overrides.kp = 1.0;
  overrides.transformers = 1;
  overrides.compensate = false;
  result = CalculateSystem(SystemPath(), overrides);
  ASSERT_TRUE(result.Complete());
  EXPECT_DOUBLE_EQ(result.inputs.busbar.kp, 1.0);
  EXPECT_DOUBLE_EQ(result.inputs.busbar.kq, 0.9);  // from the sheet
  EXPECT_EQ(result.busbar->transformer.count, 1);
  EXPECT_DOUBLE_EQ(result.busbar->totals.compensation, 0.0);
}

TEST_F(SystemTest, EveryBadInputIsNamedInOneMessageAndNoTotalIsGiven) {
  ASSERT_TRUE(test::WriteBoardWorkbook(Path("AL1.xls"), kLighting));
  ASSERT_TRUE(test::WriteBoardWorkbook(Path("AL2.xls"), {{"WL1", "L4", "2", "1", "0.9"}, {"WL2", "L1", "2", "1", "0"}}));
  ASSERT_TRUE(test::WriteBoardWorkbook(Path("AL3.xls"), {}));
  test::WriteBytes(Path("AL4.xls"), {'n', 'o', 't', ' ', 'x', 'l', 's'});
  ASSERT_TRUE(test::WriteSystemWorkbook(Path("系统.xls"),
                                        {{"AL1", "AL1.xls"},
                                         {"AL2", "AL2.xls"},
                                         {"AL1", "AL1.xls", "重复"},
                                         {"AL3", "AL3.xls"},
                                         {"AL4", "AL4.xls"},
                                         {"AL5", "没有.xls"},
                                         {"AL6", ""},
                                         {"", "AL1.xls"}},
                                        {{"变压器台数", "1.5"}, {"最大负荷率", "八成"}, {"母线系数", "1"}}));
  const SystemResult result = CalculateSystem(SystemPath());
  EXPECT_FALSE(result.Complete());
  EXPECT_FALSE(result.busbar.has_value());
  const std::string message = Message(result);
  for (const char* expected :
       {"配电箱编号AL1重复(第2行和第4行)", "配电箱AL2(第3行)不能计算:", "回路 WL1 的相别", "回路 WL2 的功率因数",
        "配电箱AL3(第5行)的工作簿AL3.xls中没有回路", "配电箱AL4(第6行)的工作簿AL4.xls不能读取",
        "配电箱AL5(第7行)的工作簿没有.xls不存在", "配电箱AL6(第8行)没有填写工作簿", "第9行没有配电箱编号",
        "参数变压器台数必须是不小于1的整数", "参数最大负荷率的值\"八成\"不是数值", "参数母线系数不认识"})
    EXPECT_NE(message.find(expected), std::string::npos) << expected << "\n" << message;
  // The good board is still calculated, for the table.
  ASSERT_EQ(result.boards.size(), 2u);
  EXPECT_EQ(ToUtf8(result.boards[0].row.name), "AL1");
}

TEST_F(SystemTest, AnEmptyOrMissingSystemIsRefused) {
  ASSERT_TRUE(test::WriteSystemWorkbook(Path("系统.xls"), {}));
  SystemResult result = CalculateSystem(SystemPath());
  EXPECT_FALSE(result.Complete());
  EXPECT_NE(Message(result).find("的工作表\"配电系统\"中没有配电箱"), std::string::npos);

  result = CalculateSystem(FromUtf8(Path("无.xls").string()));
  EXPECT_NE(Message(result).find("不存在"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("无.xls")));  // not made by opening it

  xls::Workbook other;
  other.AddSheet(u"别的", WithHeader({"a"}, {{"1"}}));
  ASSERT_TRUE(other.Save(Path("其他.xls").string()).ok());
  result = CalculateSystem(FromUtf8(Path("其他.xls").string()));
  EXPECT_NE(Message(result).find("中没有配电箱"), std::string::npos);
}

TEST_F(SystemTest, BackslashesOfAWindowsSystemWorkbookFindTheFile) {
  fs::create_directory(Path("boards"));
  ASSERT_TRUE(test::WriteBoardWorkbook(Path("boards/AL1.xls"), kLighting));
  ASSERT_TRUE(test::WriteSystemWorkbook(Path("系统.xls"), {{"AL1", "boards\\AL1.xls"}}));
  const SystemResult result = CalculateSystem(SystemPath());
  EXPECT_TRUE(result.Complete()) << Message(result);
}

TEST(SystemSheetNames, CutToThirtyOneCharactersCleanedAndNumbered) {
  auto boardNamed = [](const char* utf8) {
    SystemBoardResult board;
    board.row.name = FromUtf8(utf8);
    return board;
  };
  const std::vector<SystemBoardResult> boards = {boardNamed("AL1"), boardNamed("AL1"), boardNamed("al1"),
                                                 boardNamed("1AL[2]/B:3*?"),
                                                 boardNamed("地下一层车库排风排烟配电箱甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未")};
  const auto names = BoardSheetNames(boards);
  std::vector<std::string> all;
  for (const auto& [circuits, figures] : names) {
    all.push_back(ToUtf8(circuits));
    all.push_back(ToUtf8(figures));
    EXPECT_LE(ToUtf16(circuits).size(), 31u);
  }
  EXPECT_EQ(all[0], "AL1-各回路");
  EXPECT_EQ(all[1], "AL1-总回路");
  EXPECT_EQ(all[2], "AL1(2)-各回路");
  EXPECT_EQ(all[4], "al1(3)-各回路");  // sheet names ignore case
  EXPECT_EQ(all[6], "1AL_2__B_3__-各回路");
  EXPECT_EQ(all[8], "地下一层车库排风排烟配电箱甲乙丙丁戊己庚辛壬癸子丑寅卯-各回路");
  EXPECT_EQ(ToUtf16(FromUtf8(all[8])).size(), 31u);
}

// Random buildings against a straightforward calculation written from the
// formulas: each circuit's Pjs and Qjs, the 15 % rule, K∑ of the boards
// and of the busbar.
TEST_F(SystemTest, EqualsTheStraightforwardCalculationOnRandomBuildings) {
  std::mt19937 rng(2026);
  std::uniform_int_distribution<int> boardCount(1, 6), circuitCount(1, 12), phase(0, 4), hundredths(10, 3000);
  std::uniform_int_distribution<int> kx(5, 10), cosPhi(60, 100);
  const char* const phases[] = {"L1", "L2", "L3", "L1L2L3", "L2(固定)"};
  for (int building = 0; building < 6; ++building) {
    Rows systemRows;
    double sumP = 0, sumQ = 0;
    const int boards = boardCount(rng);
    for (int b = 0; b < boards; ++b) {
      Rows circuits;
      double single[3] = {0, 0, 0}, singleQ[3] = {0, 0, 0}, threeP = 0, threeQ = 0;
      for (int c = circuitCount(rng); c > 0; --c) {
        const int k = phase(rng);
        const std::string pe = std::to_string(hundredths(rng) / 100) + "." + std::to_string(hundredths(rng) % 100);
        const std::string kxText = "0." + std::to_string(kx(rng));
        const std::string cosText = std::to_string(cosPhi(rng) / 100.0).substr(0, 4);
        circuits.push_back({"C" + std::to_string(c), phases[k], pe, kxText == "0.10" ? "1" : kxText, cosText});
        const double pjs = static_cast<double>(std::stof(circuits.back()[3])) * std::stof(pe);
        const double cf = std::stof(cosText);
        const double qjs = pjs * std::sqrt(1 - cf * cf) / cf;
        if (k == 3) {
          threeP += pjs;
          threeQ += qjs;
        } else {
          const int p = k == 4 ? 1 : k;
          single[p] += pjs;
          singleQ[p] += qjs;
        }
      }
      const double singleSum = single[0] + single[1] + single[2];
      int largest = 0;
      for (int p = 1; p < 3; ++p)
        if (single[p] > single[largest]) largest = p;
      const bool sum = singleSum <= 0.15 * threeP;
      sumP += 0.9 * ((sum ? singleSum : 3 * single[largest]) + threeP);
      sumQ += 0.95 * ((sum ? singleQ[0] + singleQ[1] + singleQ[2] : 3 * singleQ[largest]) + threeQ);
      const std::string name = "B" + std::to_string(building) + "-" + std::to_string(b) + ".xls";
      ASSERT_TRUE(test::WriteBoardWorkbook(Path(name), circuits));
      systemRows.push_back({"AP" + std::to_string(b), name});
    }
    ASSERT_TRUE(test::WriteSystemWorkbook(Path("系统.xls"), systemRows));
    const SystemResult result = CalculateSystem(SystemPath());
    ASSERT_TRUE(result.Complete()) << Message(result);
    SCOPED_TRACE(building);
    EXPECT_NEAR(result.busbar->boardsP, sumP, 1e-9 * sumP);
    EXPECT_NEAR(result.busbar->boardsQ, sumQ, 1e-9 * sumQ + 1e-12);
    const double p = 0.9 * sumP, q = 0.95 * sumQ;
    EXPECT_NEAR(result.busbar->totals.current, std::sqrt(p * p + q * q) / (std::sqrt(3.0) * 0.38), 1e-9 * sumP);
  }
}
