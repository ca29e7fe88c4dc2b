// The dialog's commands as a user gives them: keys, buttons, the context
// menu, and the workbooks they read and write.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <fstream>
#include <sstream>

#include "calc/program_folder.h"
#include "dialog_fixture.h"
#include "platform/ui/data_exchange.h"
#include "platform/ui/win_app.h"
#include "res/ui/resource.h"

namespace {

void PressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

std::vector<std::string> ComboEntries(CWnd* combo) {
  std::vector<std::string> entries;
  auto* box = qobject_cast<QComboBox*>(combo->GetWidget());
  for (int i = 0; box && i < box->count(); ++i) entries.push_back(box->itemText(i).toStdString());
  return entries;
}

}  // namespace

TEST_F(DialogTest, EnterReadsTheWorkbookAndKeepsTheDialogOpen) {
  WriteInput(kFourCircuits, kFourSwitches);
  dialog->GetWidget()->show();
  // Enter outside the two input fields (which calculate) reads.
  PressKey(Control(1004), Qt::Key_Return);
  EXPECT_TRUE(messages.empty()) << messages.front();
  ASSERT_EQ(dialog->m_list.GetItemCount(), 4);
  EXPECT_EQ(Cell(0, 0), "N1");
  EXPECT_EQ(Cell(3, 5), "备用");
  EXPECT_TRUE(dialog->GetWidget()->isVisible());
  auto* view = qobject_cast<QTableView*>(Control(1004));
  ASSERT_NE(view->model(), nullptr);
  EXPECT_EQ(view->model()->rowCount(), 4);
  EXPECT_EQ(view->model()->columnCount(), 6);
  EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("相别"));
  EXPECT_GE(view->horizontalHeader()->height(), view->fontMetrics().height());
  const int widths[] = {100, 70, 70, 70, 70, 120};
  for (int column = 0; column < 6; ++column) EXPECT_EQ(dialog->m_listView.GetColumnWidth(column), widths[column]);
  EXPECT_EQ(view->model()->index(2, 5).data().toString(), QString::fromUtf8("空调"));
  EXPECT_TRUE(view->showGrid());
  EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(view->editTriggers(), QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);

  PressKey(Control(1014), Qt::Key_Escape);
  EXPECT_FALSE(dialog->GetWidget()->isVisible());
}

TEST_F(DialogTest, EnterOnAFocusedButtonPressesThatButtonNotRead) {
  WriteInput(kFourCircuits, kFourSwitches);
  dialog->GetWidget()->show();
  Control(4)->setFocus();
  PressKey(Control(4), Qt::Key_Return);
  EXPECT_EQ(modalCaptions, std::vector<std::string>{"关于 Tabrix"});
  EXPECT_EQ(dialog->m_list.GetItemCount(), 0);
}

TEST_F(DialogTest, ReadCalculateBalanceAndSaveWorkTogether) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(1);
  Click(1005);
  ASSERT_TRUE(messages.empty()) << messages.front();
  EXPECT_EQ(Cell(0, 5), "2.400000");
  EXPECT_EQ(Cell(0, 6), "12.834225");
  EXPECT_EQ(Cell(0, 7), "C16;C32;C63;C125;");
  EXPECT_EQ(Cell(0, 8), "照明");
  // Phase sums 12, 2 and 0: fields show six significant digits.
  EXPECT_EQ(Text(1006), "12");
  EXPECT_EQ(Text(1007), "2");
  EXPECT_EQ(Text(1008), "0");
  EXPECT_EQ(Text(1014), "0.5");
  // A result wider than its field shows its first digits.
  dialog->m_fUnbalance = 0.340541f;
  dialog->UpdateData(FALSE);
  EXPECT_EQ(qobject_cast<QLineEdit*>(Control(1009))->cursorPosition(), 0);
  const float current = dialog->m_fCurrent;
  EXPECT_EQ(Text(1012), Utf8(FormatDialogFloat(current)));
  EXPECT_EQ(ComboEntries(dialog->GetDlgItem(1013)), std::vector<std::string>{"C125"});
  EXPECT_EQ(qobject_cast<QComboBox*>(Control(1013))->currentIndex(), 0);

  Click(1015);
  ASSERT_EQ(messages.size(), 1u);  // which circuits moved
  messages.clear();
  std::vector<std::string> phases;
  for (int row = 0; row < 4; ++row) phases.push_back(Cell(row, 1));
  EXPECT_NE(phases, (std::vector<std::string>{"L1", "L1", "L1", "L2"}));
  EXPECT_LT(dialog->m_fUnbalance, 0.5f);

  saveAs = PathIn("结果");
  Click(1016);
  EXPECT_EQ(askedFileName, PathIn("电气计算-负荷计算结果.xls"));
  EXPECT_EQ(askedExtension, "xls");
  EXPECT_EQ(askedFilter, "Excel 工作簿|*.xls;*.xlsx||");
  EXPECT_EQ(messages, std::vector<std::string>{"文件写入成功!"});
  const auto sheets = ReadBack(PathIn("结果.xls"));
  ASSERT_EQ(sheets.size(), 2u);
  EXPECT_EQ(sheets[0].first, "各回路负荷计算结果");
  EXPECT_EQ(sheets[0].second.size(), 5u);
  EXPECT_EQ(sheets[0].second[0][5], "计算功率");
  EXPECT_EQ(sheets[1].first, "总回路参数计算结果");
  EXPECT_EQ(sheets[1].second.size(), 11u);
  for (const std::string& caption : captions) EXPECT_EQ(caption, "Volmira电气计算程序");
}

TEST_F(DialogTest, CancelledSaveWritesNothingAndSaysNothing) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(1);
  Click(1005);
  messages.clear();
  saveAs.clear();
  Click(1016);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST_F(DialogTest, FloatFieldsRefuseTextThatIsNoNumber) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(1);
  SetText(1014, "abc");
  Click(1005);
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.front(), "请输入一个数字。");
  EXPECT_FLOAT_EQ(dialog->m_fPowerFactor, 0.5f);

  messages.clear();
  SetText(1014, " 0.9 ");
  SetText(1017, "1e400");
  Click(1005);
  EXPECT_EQ(messages.front(), "请输入一个数字。");
  EXPECT_FLOAT_EQ(dialog->m_fPowerFactor, 0.9f);
  EXPECT_FLOAT_EQ(dialog->m_fDemandCoef, 0.8f);
}

TEST_F(DialogTest, ComboBoxListsTheBoardSwitchesOrShowsNone) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(1);
  Click(1005);
  CWnd* combo = dialog->GetDlgItem(1013);
  const std::vector<std::string> entries = ComboEntries(combo);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.back(), "C125");
  EXPECT_EQ(Utf8(combo->GetWindowText()), entries.front());

  // After balancing the board draws less, and more switches qualify, in library order.
  Click(1015);
  EXPECT_EQ(ComboEntries(combo), (std::vector<std::string>{"C63", "C125"}));

  WriteInput(kFourCircuits, {});
  Click(1005);
  EXPECT_TRUE(ComboEntries(combo).empty());
  EXPECT_EQ(Utf8(combo->GetWindowText()), "无");
}

TEST_F(DialogTest, ReadingAfterACalculationRestoresTheSixColumnsAndClearsResults) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(1);
  Click(1005);
  ASSERT_EQ(dialog->m_astrHeaders.GetSize(), 9);
  const std::string l1 = Text(1006);
  Click(1);
  EXPECT_EQ(dialog->m_astrHeaders.GetSize(), 6);
  auto* view = qobject_cast<QTableView*>(Control(1004));
  EXPECT_EQ(view->model()->columnCount(), 6);
  EXPECT_EQ(view->model()->rowCount(), 4);
  EXPECT_EQ(Cell(0, 5), "照明");
  EXPECT_TRUE(ComboEntries(dialog->GetDlgItem(1013)).empty());
  // The results belonged to the list before the read.
  EXPECT_NE(l1, "0");
  EXPECT_EQ(Text(1006), "0");
}

TEST_F(DialogTest, MissingWorkbookIsSaidAndLeavesAnEmptyList) {
  Click(1);
  EXPECT_EQ(messages, std::vector<std::string>{"找不到工作簿 " + InputPath()});
  EXPECT_EQ(dialog->m_list.GetItemCount(), 0);
  EXPECT_EQ(dialog->m_list.GetColumnCount(), 6);
  Click(1005);
  EXPECT_EQ(messages.back(), "请首先读入数据文件!");
}

TEST_F(DialogTest, DamagedWorkbookEndsTheCommandWithItsErrorAndChangesNothing) {
  WriteInput(kFourCircuits, kFourSwitches);
  Click(1);
  Click(1005);
  ASSERT_TRUE(messages.empty()) << messages.front();
  const std::string current = Text(1012);
  std::ofstream(InputPath(), std::ios::binary | std::ios::trunc) << "not a workbook at all";

  Click(1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Cannot open the workbook"), std::string::npos) << messages[0];
  EXPECT_EQ(dialog->m_list.GetItemCount(), 4);
  EXPECT_EQ(dialog->m_list.GetColumnCount(), 9);
  EXPECT_EQ(Cell(0, 7), "C16;C32;C63;C125;");
  EXPECT_EQ(Text(1012), current);
  EXPECT_EQ(ComboEntries(dialog->GetDlgItem(1013)), std::vector<std::string>{"C125"});
  EXPECT_FALSE(QApplication::overrideCursor()) << "the wait cursor stays after a failed command";

  messages.clear();
  Click(1005);
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(messages[0].find("Cannot open the workbook"), std::string::npos) << messages[0];
  EXPECT_FALSE(QApplication::overrideCursor());
}

TEST_F(DialogTest, CalculatingWithoutCircuitsAsksToReadFirst) {
  Click(1005);
  EXPECT_EQ(messages, std::vector<std::string>{"请首先读入数据文件!"});
}

TEST_F(DialogTest, AboutComesFromItsButtonAndFromTheContextMenu) {
  Click(4);
  EXPECT_EQ(modalCaptions, std::vector<std::string>{"关于 Tabrix"});

  std::vector<std::pair<UINT, std::string>> offered;
  SetPopupMenuHandler([&offered](const CMenu& menu) {
    UINT_PTR chosen = 0;
    for (const CMenu::Item& item : menu.Items()) {
      offered.emplace_back(item.flags, Utf8(item.text));
      if (Utf8(item.text).rfind("关于", 0) == 0) chosen = item.id;
    }
    return chosen;
  });
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(500, 300), QPoint(500, 300));
  QApplication::sendEvent(dialog->GetWidget(), &rightClick);
  const std::vector<std::pair<UINT, std::string>> expected = {
      {MF_STRING, "读取\tF5"},
      {MF_STRING, "计算\tF9"},
      {MF_STRING, "自动平衡\tCtrl+B"},
      {MF_STRING, "保存\tCtrl+S"},
      {MF_SEPARATOR, ""},
      {MF_GRAYED, "添加回路\tIns"},
      {MF_GRAYED, "删除回路\tDel"},
      {MF_GRAYED, "撤销\tCtrl+Z"},
      {MF_GRAYED, "写回工作簿\tCtrl+W"},
      {MF_SEPARATOR, ""},
      {MF_STRING, "打开工作簿(&O)…\tCtrl+O"},
      {MF_STRING, "导出计算书…\tCtrl+P"},
      {MF_STRING, "配电系统…"},
      {MF_SEPARATOR, ""},
      {MF_CHECKED, "总在最前"},
      {MF_SEPARATOR, ""},
      {MF_CHECKED, "计算方法：原方法"},
      {MF_STRING, "计算方法：规范法"},
      {MF_STRING, "自动平衡时尽量少移动回路"},
      {MF_SEPARATOR, ""},
      {MF_STRING, "关于 Volmira电气计算(&A)...\tF1"}};
  EXPECT_EQ(offered, expected);
  EXPECT_EQ(modalCaptions.size(), 2u);

  // Command 16 with its low four bits set is the same item.
  dialog->SendMessage(WM_SYSCOMMAND, 0x0016, 0);
  EXPECT_EQ(modalCaptions.size(), 3u);
}

TEST_F(DialogTest, DialogStaysOnTop) {
  EXPECT_TRUE(dialog->GetWidget()->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(dialog->GetExStyle() & WS_EX_TOPMOST);
}

// The sample workbook goes into the program folder: each test gets a
// private one, so tests running side by side never share Test.xls.
class TestSheetTest : public DialogTest {
 protected:
  void SetUp() override {
    OverrideProgramFolder(FromUtf8(m_programFolder.Path().string() + "/"));
    DialogTest::SetUp();
  }
  void TearDown() override {
    DialogTest::TearDown();
    OverrideProgramFolder(CString());
  }
  std::string Program(const char* name) const { return (m_programFolder.Path() / name).string(); }

  ::test::TempFolder m_programFolder{"loadcalc-program"};
};

TEST_F(TestSheetTest, WritesTheSampleRowsAppendedInsertedAndReplaced) {
  std::filesystem::remove(Program("Test.xls"));
  dialog->SendMessage(WM_COMMAND, IDC_WRITE, 0);
  EXPECT_EQ(messages, std::vector<std::string>{"文件写入成功!"});
  const auto sheets = ReadBack(Program("Test.xls"));
  ASSERT_FALSE(sheets.empty());
  const Rows* rows = nullptr;
  for (const auto& [name, content] : sheets)
    if (name == "TestSheet") rows = &content;
  ASSERT_NE(rows, nullptr);
  ASSERT_EQ(rows->size(), 8u);
  EXPECT_EQ((*rows)[0], (std::vector<std::string>{"姓名", "年龄"}));
  EXPECT_EQ((*rows)[1], (std::vector<std::string>{"Test", "Test"}));
  const char* ages[] = {"27", "23", "28"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ((*rows)[2 + i][1], ages[i]);
  EXPECT_EQ((*rows)[5], (std::vector<std::string>{"Test", "Test"}));
  EXPECT_EQ((*rows)[6][1], "26");
  EXPECT_EQ((*rows)[7], (std::vector<std::string>{"Test", "Test"}));
  EXPECT_FALSE(std::filesystem::exists(Program("Test.csv")));
}

TEST_F(TestSheetTest, AWriteThatFailsIsShownNotAnnouncedAsSuccess) {
  WriteInput({{"N1", "L1", "3", "0.8", "0.85", ""}}, {{"C16", "16"}});
  std::filesystem::copy_file(InputPath(), Program("Test.xls"), std::filesystem::copy_options::overwrite_existing);
  std::filesystem::permissions(Program("Test.xls"), std::filesystem::perms(0444));
  dialog->OnWrite();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("文件写入失败!\n文件: " + Program("Test.xls"), 0), 0u) << messages[0];
  EXPECT_NE(messages[0].find("文件是只读的"), std::string::npos) << messages[0];
}

TEST_F(TestSheetTest, TickedConversionAlsoWritesASemicolonTextFile) {
  std::filesystem::remove(Program("Test.xls"));
  std::filesystem::remove(Program("Test.csv"));
  dialog->m_chkConvert.SetCheck(BST_CHECKED);
  dialog->OnWrite();
  EXPECT_EQ(messages, std::vector<std::string>{"文件写入成功!"});
  std::ifstream file(Program("Test.csv"), std::ios::binary);
  ASSERT_TRUE(file.good());
  std::stringstream bytes;
  bytes << file.rdbuf();
  const std::string text = Utf8(CString(bytes.str()));
  // Every value quoted, ";" between, "\r\n" after every line, header first.
  EXPECT_EQ(text.rfind("\"姓名\";\"年龄\"\r\n\"Test\";\"Test\"\r\n", 0), 0u) << text;
  EXPECT_NE(text.find(";\"26\"\r\n\"Test\";\"Test\"\r\n"), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), ';'), 8) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8) << text;
}

TEST_F(DialogTest, BalancingBeyondNineteenCircuitsAsksAndNoChangesNothing) {
  Rows circuits;
  for (int i = 0; i < 22; ++i)
    circuits.push_back({"WL" + std::to_string(i + 1), "L1", std::to_string(1 + i % 7) + ".25", "1", "0.9", ""});
  WriteInput(circuits, kFourSwitches);
  Click(1);
  std::vector<UINT> types;
  int answer = IDNO;
  SetMessageBoxHandler([&](const CString& text, const CString&, UINT type) {
    messages.push_back(Utf8(text));
    types.push_back(type);
    return (type & 0x000F) == MB_YESNO ? answer : static_cast<int>(IDOK);
  });
  Click(1015);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("目前的自动平衡计算的回路数不能超过19路\n\n是否", 0), 0u) << messages[0];
  EXPECT_EQ(types[0] & 0x000F, MB_YESNO);
  for (int row = 0; row < 22; ++row) EXPECT_EQ(Cell(row, 1), "L1");

  answer = IDYES;
  messages.clear();
  Click(1015);
  ASSERT_EQ(messages.size(), 2u);  // the question and the moves: the answer was proved in time
  EXPECT_EQ(messages[1].rfind("自动平衡完成", 0), 0u) << messages[1];
  EXPECT_TRUE(dialog->LastBalance().optimal);
  EXPECT_LT(dialog->m_fUnbalance, 0.01f);
  EXPECT_EQ(dialog->m_list.GetColumnCount(), 9);
}
