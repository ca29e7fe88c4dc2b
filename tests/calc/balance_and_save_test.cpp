#include <gtest/gtest.h>

#include "workbook_fixture.h"

namespace {

Rows CircuitsOf(const std::vector<std::string>& powers) {
  Rows rows;
  for (size_t i = 0; i < powers.size(); ++i)
    rows.push_back({"WL" + std::to_string(i + 1), "L1", powers[i], "1", "0.9", "备注" + std::to_string(i + 1)});
  return rows;
}

std::vector<std::string> Phases(const CircuitTable& list) {
  std::vector<std::string> phases;
  for (int row = 0; row < list.GetItemCount(); ++row) phases.push_back(list.GetItemText(row, 1).str());
  return phases;
}

class AutoBalance : public WorkbookTest {};

TEST_F(AutoBalance, ThreeEqualCircuitsGoToThreePhasesAndAreCalculated) {
  WriteInput(CircuitsOf({"5", "5", "5"}), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.AutoBalance());
  EXPECT_EQ(Phases(list), (std::vector<std::string>{"L3", "L2", "L1"}));
  EXPECT_EQ(core.m_fUnbalance, 0.0f);
  EXPECT_EQ(core.m_fEquipPower, 15.0f);
  EXPECT_EQ(list.GetColumnCount(), 9);
  EXPECT_EQ(host.waitDepth, 0);
  ASSERT_TRUE(core.AutoBalance());  // the current phases play no part
  EXPECT_EQ(Phases(list), (std::vector<std::string>{"L3", "L2", "L1"}));
}

TEST_F(AutoBalance, DominantCircuitStaysAlone) {
  WriteInput(CircuitsOf({"100", "1", "1", "1", "1"}), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.AutoBalance());
  EXPECT_EQ(Phases(list), (std::vector<std::string>{"L1", "L2", "L2", "L3", "L3"}));
}

TEST_F(AutoBalance, TwoAndTwentyCircuitsAreRefusedUntouched) {
  WriteInput(CircuitsOf({"1", "2"}), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.AutoBalance());
  WriteInput(CircuitsOf(std::vector<std::string>(20, "1.5")), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.AutoBalance());
  EXPECT_EQ(host.messages, (std::vector<std::string>{"回路数小于3,不需要进行自动平衡计算",
                                                     "目前的自动平衡计算的回路数不能超过19路"}));
  EXPECT_EQ(Phases(list), std::vector<std::string>(20, "L1"));
  EXPECT_EQ(list.GetColumnCount(), 6);
}

TEST_F(AutoBalance, NineteenCircuitsAreBalanced) {
  std::vector<std::string> powers;
  for (int i = 0; i < 19; ++i) powers.push_back(std::to_string(1 + (i * 7) % 10) + ".5");
  WriteInput(CircuitsOf(powers), kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.AutoBalance());
  EXPECT_LT(core.m_fUnbalance, 0.01f);
  EXPECT_TRUE(host.messages.empty());
}

class Saving : public WorkbookTest {};

using Sheets = std::vector<std::pair<std::string, Rows>>;

// Results saved beside circuits they were not calculated from would be
// taken for theirs.
TEST_F(Saving, IsRefusedUntilTheListIsCalculatedAsItIsNow) {
  const std::string out = PathIn("结果.xls");
  EXPECT_FALSE(core.SaveResults(Cp936(out)));
  WriteInput({{"WL1", "L1", "3", "0.8", "0.85", "照明"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.SaveResults(Cp936(out)));
  EXPECT_EQ(host.messages, (std::vector<std::string>{"请首先进行计算!", "请首先进行计算!"}));
  EXPECT_FALSE(std::filesystem::exists(out));

  ASSERT_TRUE(core.Calculate());
  ASSERT_TRUE(core.ReadCircuits());
  EXPECT_FALSE(core.SaveResults(Cp936(out))) << "a read makes the results stale";
  core.m_fDemandCoef = 2.0f;
  EXPECT_FALSE(core.Calculate());
  EXPECT_FALSE(core.SaveResults(Cp936(out))) << "a refused calculation leaves none";
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(Saving, SecondSaveReplacesTheFileWithTheCalculatedState) {
  WriteInput({{"WL1", "L1", "3", "0.8", "0.85", "照明"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  const std::string out = PathIn("twice.xls");
  {
    xls::Workbook stray;
    stray.AddSheet(u"Other", {{u"x"}});
    ASSERT_TRUE(stray.Save(out).ok());
  }
  ASSERT_TRUE(core.Calculate());
  ASSERT_TRUE(core.SaveResults(Cp936(out)));
  ASSERT_TRUE(core.SaveResults(Cp936(out)));
  const Sheets sheets = ReadBack(out);
  ASSERT_EQ(sheets.size(), 2u);
  EXPECT_EQ(sheets[0].second.size(), 2u);
  EXPECT_EQ(sheets[0].second[1],
            (std::vector<std::string>{"WL1", "L1", "3", "0.8", "0.85", "2.4", "12.834225", "C16;C32;C63;MCCB-125;",
                                      "照明"}));
  // Quantities are saved as numbers and read back as a spreadsheet shows them.
  EXPECT_EQ(sheets[1].second[1], (std::vector<std::string>{"L1相容量", "3"}));
  EXPECT_EQ(sheets[1].second[4], (std::vector<std::string>{"不平衡度", "3"}));
}

TEST_F(Saving, LongCellsAreCutTo259BytesWithoutHalvingACharacter) {
  const std::string remark = "x" + [] {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "备";
    return text;
  }();
  WriteInput({{"WL1", "L1", "3", "0.8", "0.85", remark}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  const std::string out = PathIn("long.xls");
  ASSERT_TRUE(core.SaveResults(Cp936(out)));
  const Sheets sheets = ReadBack(out);
  ASSERT_EQ(sheets.size(), 2u);
  EXPECT_EQ(Cp936(sheets[0].second[1][8]).GetLength(), 259);
}

TEST_F(Saving, AFailedWriteIsReportedNotCalledASuccess) {
  WriteInput({{"WL1", "L1", "3", "0.8", "0.85"}}, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  ASSERT_TRUE(core.Calculate());
  const std::string out = PathIn("no-such-folder/结果.xls");
  EXPECT_FALSE(core.SaveResults(Cp936(out)));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("文件写入失败!", 0), 0u) << host.messages[0];
  EXPECT_NE(host.messages[0].find(out), std::string::npos);
  EXPECT_EQ(host.waitDepth, 0);
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
