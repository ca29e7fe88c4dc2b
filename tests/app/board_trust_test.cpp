// Results that belong to the circuits on screen, work that is not thrown
// away by one key, circuits with nonsense refused by name, and what
// 自动平衡 moved.
#include <QComboBox>
#include <QKeyEvent>
#include <QTableView>
#include <fstream>

#include "app/list_cell_editor.h"
#include "dialog_fixture.h"
#include "res/ui/resource.h"

namespace {

const char kDiscard[] = "当前的计算结果尚未保存，是否放弃？";
const int kResultFields[] = {IDC_UNBALANCE, IDC_CURRENT, IDC_L1, IDC_L2, IDC_L3, IDC_EQUIP_POWER, IDC_CALC_POWER};

void PressReturn(QWidget* widget) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

class BoardTrustTest : public DialogTest {
 protected:
  void WriteBoard(const std::string& path, const Rows& circuits) {
    xls::Workbook book;
    book.AddSheet(u"线路负荷计算",
                  WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, circuits));
    book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, kFourSwitches));
    ASSERT_TRUE(book.Save(path).ok());
  }

  void ReadAndCalculate() {
    messages.clear();
    Click(IDOK);
    Click(IDC_CALC);
    ASSERT_TRUE(messages.empty()) << messages.front();
    ASSERT_NE(Text(IDC_L1), "0");
  }

  // Every board result as a fresh window shows it.
  void ExpectNoResults() {
    for (const int id : kResultFields) EXPECT_EQ(Text(id), "0") << id;
    EXPECT_EQ(qobject_cast<QComboBox*>(Control(IDC_SWITCH))->count(), 0);
    EXPECT_EQ(dialog->m_list.GetColumnCount(), 6);
    EXPECT_FALSE(dialog->ResultsCurrent());
  }

  // 保存 and 导出计算书 refuse before any file dialog.
  void ExpectSaveAndExportRefused() {
    messages.clear();
    askedFileName.clear();
    saveAs = PathIn("stale.xls");
    Click(IDC_SAVE);
    dialog->OnExportReport();
    EXPECT_EQ(messages, (std::vector<std::string>{"请首先进行计算!", "请首先进行计算!"}));
    EXPECT_EQ(askedFileName, "");
    EXPECT_FALSE(std::filesystem::exists(PathIn("stale.xls")));
  }
};

}  // namespace

TEST_F(BoardTrustTest, OpeningAnotherWorkbookClearsTheResultsAndAsksFirst) {
  WriteInput(kFourCircuits, kFourSwitches);
  ReadAndCalculate();
  WriteBoard(PathIn("AL2.xls"), {{"M1", "L3", "7", "1", "0.9", ""}});

  yesNoAnswer = IDNO;
  EXPECT_FALSE(dialog->OpenWorkbook(FromUtf8(PathIn("AL2.xls"))));
  ASSERT_EQ(questions, std::vector<std::string>{kDiscard});
  EXPECT_EQ(questionTypes[0] & MB_DEFBUTTON2, MB_DEFBUTTON2) << "否 must be the default";
  EXPECT_EQ(dialog->m_list.GetItemCount(), 4);
  EXPECT_TRUE(dialog->ResultsCurrent());

  yesNoAnswer = IDYES;
  EXPECT_TRUE(dialog->OpenWorkbook(FromUtf8(PathIn("AL2.xls"))));
  EXPECT_EQ(Cell(0, 0), "M1");
  ExpectNoResults();
  EXPECT_EQ(Utf8(dialog->GetWindowText()), "Volmira电气计算程序 - AL2.xls");
  ExpectSaveAndExportRefused();

  // Calculated again, the results name the new board.
  Click(IDC_CALC);
  EXPECT_EQ(Text(IDC_L3), "7");
  EXPECT_TRUE(dialog->ResultsCurrent());
}

TEST_F(BoardTrustTest, ReadingAgainOrChangingACircuitClearsTheResults) {
  WriteInput(kFourCircuits, kFourSwitches);
  ReadAndCalculate();
  Click(IDOK);
  ExpectNoResults();
  ExpectSaveAndExportRefused();

  ReadAndCalculate();
  dialog->m_list.SetItemText(1, 2, FromUtf8("9"));
  ExpectNoResults();
  ExpectSaveAndExportRefused();
}

TEST_F(BoardTrustTest, AWorkbookThatCannotBeOpenedLeavesThePreviousOne) {
  WriteInput(kFourCircuits, kFourSwitches);
  ReadAndCalculate();
  const std::string damaged = PathIn("损坏.xls");
  std::ofstream(damaged, std::ios::binary) << "not a workbook at all";
  const std::string title = Utf8(dialog->GetWindowText());

  EXPECT_FALSE(dialog->OpenWorkbook(FromUtf8(damaged)));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("损坏.xls"), std::string::npos) << messages[0];
  EXPECT_EQ(Utf8(dialog->GetWorkbookPath()), InputPath());
  EXPECT_EQ(Utf8(dialog->GetWindowText()), title);
  EXPECT_EQ(dialog->m_list.GetItemCount(), 4);
  EXPECT_EQ(Cell(0, 0), "N1");
}

TEST_F(BoardTrustTest, UnsavedWorkIsAskedForOnlyWhileItExists) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(IDOK);
  Click(IDOK);
  EXPECT_TRUE(questions.empty()) << "nothing to lose after a read";

  Click(IDC_CALC);
  yesNoAnswer = IDNO;
  Click(IDOK);
  EXPECT_EQ(questions, std::vector<std::string>{kDiscard});
  EXPECT_TRUE(dialog->ResultsCurrent()) << "否 keeps the results";

  dialog->GetWidget()->show();
  Click(IDCANCEL);
  EXPECT_TRUE(dialog->GetWidget()->isVisible()) << "否 keeps the window open";
  EXPECT_EQ(questions.size(), 2u);

  saveAs = PathIn("结果.xls");
  Click(IDC_SAVE);
  questions.clear();
  Click(IDCANCEL);
  EXPECT_TRUE(questions.empty()) << "saved work is not asked for";
  EXPECT_FALSE(dialog->GetWidget()->isVisible());
}

TEST_F(BoardTrustTest, EnterInTheInputFieldsCalculatesAndKeepsTheBalance) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(IDOK);
  Click(IDC_AUTO_BALANCE);
  const std::string balanced = Cell(0, 1) + Cell(1, 1) + Cell(2, 1) + Cell(3, 1);
  dialog->GetWidget()->show();
  for (const int field : {IDC_POWER_FACTOR, IDC_DEMAND_COEF}) {
    SetText(IDC_POWER_FACTOR, field == IDC_POWER_FACTOR ? "0.85" : "0.9");
    messages.clear();
    PressReturn(Control(field));
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_TRUE(questions.empty()) << questions.front();
    EXPECT_EQ(Cell(0, 1) + Cell(1, 1) + Cell(2, 1) + Cell(3, 1), balanced);
    EXPECT_TRUE(dialog->ResultsCurrent());
  }
  EXPECT_FLOAT_EQ(dialog->m_fPowerFactor, 0.9f);
}

TEST_F(BoardTrustTest, BoardDemandCoefficientOutsideZeroToOneIsRefused) {
  WriteInput(kFourCircuits, kFourSwitches);
  ReadAndCalculate();
  for (const char* coefficient : {"3", "-1", "0"}) {
    SetText(IDC_DEMAND_COEF, coefficient);
    messages.clear();
    Click(IDC_CALC);
    EXPECT_EQ(messages, std::vector<std::string>{"需要系数必须介于0和1之间(可以等于1)"}) << coefficient;
    ExpectNoResults();
  }
  SetText(IDC_DEMAND_COEF, "1");
  messages.clear();
  Click(IDC_CALC);
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(BoardTrustTest, CircuitsWithNonsenseAreNamedInOneMessage) {
  WriteInput({{"N1", "L1", "abc", "0.8", "0.85", ""},
              {"N2", "L2", "-3", "x", "0.85", ""},
              {"N3", "L3", "2", "1.5", "", ""},
              {"N4", "L1", "1e39", "0.8", "2", ""},
              {"N5", "L2", " 2.5 ", "1", "1", ""}},
             kFourSwitches);
  Click(IDOK);
  Click(IDC_CALC);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0],
            "以下7处回路数据不合法(设备功率须为不小于0的数,需要系数和功率因数须为0到1之间的数,可以等于1),"
            "请在工作簿中改正后重新读取:\n"
            "回路 N1 的设备功率:“abc”\n"
            "回路 N2 的设备功率:“-3”\n"
            "回路 N2 的需要系数:“x”\n"
            "回路 N3 的需要系数:“1.5”\n"
            "回路 N3 的功率因数:(空)\n"
            "回路 N4 的设备功率:“1e39”\n"
            "回路 N4 的功率因数:“2”");
  ExpectNoResults();
  ExpectSaveAndExportRefused();

  // 自动平衡 would balance "abc" as 0 kW: it names the circuits and moves none.
  messages.clear();
  Click(IDC_AUTO_BALANCE);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("以下7处回路数据不合法", 0), 0u) << messages[0];
  EXPECT_EQ(Cell(0, 1) + Cell(1, 1) + Cell(2, 1) + Cell(3, 1) + Cell(4, 1), "L1L2L3L1L2");
}

TEST_F(BoardTrustTest, PowerFactorRefusalNamesTheCircuit) {
  WriteInput({{"N1", "L1", "3", "0.8", "0.005", ""}, {"N2", "L2", "2", "0.8", "0.85", ""}}, kFourSwitches);
  Click(IDOK);
  Click(IDC_CALC);
  EXPECT_EQ(messages, std::vector<std::string>{"回路 N1:功率因数必须在0与1之间"});
}

TEST_F(BoardTrustTest, RowsWithoutAnyValueAreNoCircuits) {
  WriteInput({{"N1", "L1", "3", "0.8", "0.85", ""},
              {"", "", "", "", "", ""},
              {"", "", "", "", "", "备注而已"},
              {"N3", "L2", "2", "0.8", "0.85", ""},
              {"", "", "", "", "", ""}},
             kFourSwitches);
  Click(IDOK);
  ASSERT_EQ(dialog->m_list.GetItemCount(), 3);
  EXPECT_EQ(Cell(0, 0), "N1");
  EXPECT_EQ(Cell(1, 5), "备注而已");
  EXPECT_EQ(Cell(2, 0), "N3");
}

TEST_F(BoardTrustTest, BalanceSaysWhichCircuitsMovedAndMarksThemUntilSaved) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(IDOK);
  Click(IDC_AUTO_BALANCE);
  ASSERT_EQ(messages.size(), 1u);
  const std::string& said = messages[0];
  EXPECT_EQ(said.rfind("自动平衡完成,不平衡度", 0), 0u) << said;
  auto* view = qobject_cast<QTableView*>(Control(IDC_LIST));
  int moved = 0;
  for (int row = 0; row < 4; ++row) {
    const std::string before = kFourCircuits[row][1];
    const bool marked = view->model()->index(row, 1).data(Qt::BackgroundRole).isValid();
    EXPECT_EQ(marked, Cell(row, 1) != before) << row;
    if (Cell(row, 1) == before) continue;
    ++moved;
    EXPECT_NE(said.find("\n" + kFourCircuits[row][0] + ": " + before + " → " + Cell(row, 1)), std::string::npos) << said;
  }
  ASSERT_GT(moved, 0);
  EXPECT_NE(said.find("移动了" + std::to_string(moved) + "个回路"), std::string::npos) << said;

  saveAs = PathIn("结果.xls");
  Click(IDC_SAVE);
  // The orange goes with 保存; the moved phases stay marked as changes not
  // yet written back into the workbook.
  for (int row = 0; row < 4; ++row) {
    const QModelIndex phase = view->model()->index(row, 1);
    EXPECT_NE(phase.data(Qt::BackgroundRole).value<QColor>(), QColor(255, 214, 102)) << row;
    EXPECT_EQ(phase.data(kCellEditedRole).toBool(), Cell(row, 1) != kFourCircuits[row][1]) << row;
  }
}

TEST_F(BoardTrustTest, MessageBoxesCarryTheProgramsTitle) {
  Click(IDC_CALC);
  ASSERT_FALSE(captions.empty());
  for (const std::string& caption : captions) EXPECT_EQ(caption, "Volmira电气计算程序");
}
